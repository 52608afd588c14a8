// A thread that has one PostgreSQL connection to itself and runs jobs on it in the order given.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace pg {
class Connection;
}

namespace gen {

class Worker {
 public:
  using Job = std::function<void(pg::Connection&)>;

  // REQUIRES: no other thread uses `connection` until wait() returns or the worker is destroyed.
  explicit Worker(pg::Connection& connection);
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;
  // Drops the jobs not started and waits for the one running.
  ~Worker();

  // Queues `job`; waits while `maxWaiting` jobs are queued already (the memory they hold is
  // bounded). After a job failed, later jobs are dropped and post() throws that failure.
  void post(Job job, std::size_t maxWaiting = 8);
  // Waits until every job has run. Throws the first failure.
  void wait();
  // Drops the jobs not started and waits for the one running; throws nothing.
  void cancel();

 private:
  void run();

  pg::Connection& connection_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> waiting_;
  bool busy_ = false;
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::thread thread_;  // last: starts once the members it uses are made
};

}  // namespace gen
