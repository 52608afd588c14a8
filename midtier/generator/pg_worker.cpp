// The loading connections' threads.
#include "midtier/generator/pg_worker.h"

namespace gen {

Worker::Worker(pg::Connection& connection) : connection_(connection), thread_([this] { run(); }) {}

Worker::~Worker() {
  {
    std::lock_guard lock(mutex_);
    waiting_.clear();
    stopping_ = true;
    changed_.notify_all();
  }
  thread_.join();
}

void Worker::post(Job job, std::size_t maxWaiting) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return waiting_.size() < maxWaiting || failure_; });
  if (failure_) std::rethrow_exception(failure_);
  waiting_.push_back(std::move(job));
  changed_.notify_all();
}

void Worker::wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return (waiting_.empty() && !busy_) || failure_; });
  if (failure_) std::rethrow_exception(failure_);
}

void Worker::cancel() {
  std::unique_lock lock(mutex_);
  waiting_.clear();
  changed_.wait(lock, [&] { return !busy_; });
}

void Worker::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return !waiting_.empty() || stopping_; });
    if (waiting_.empty()) return;
    Job job = std::move(waiting_.front());
    waiting_.pop_front();
    busy_ = true;
    lock.unlock();
    std::exception_ptr failure;
    try {
      job(connection_);
    } catch (...) {
      failure = std::current_exception();
    }
    job = nullptr;  // frees what the job held before the next one is taken
    lock.lock();
    busy_ = false;
    if (failure && !failure_) failure_ = failure;
    if (failure_) waiting_.clear();
    changed_.notify_all();
  }
}

}  // namespace gen
