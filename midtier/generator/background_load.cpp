// The hand-over of row batches between the making thread and the writing thread.
#include "midtier/generator/background_load.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "midtier/generator/row_batch.h"

namespace gen {

namespace {

// Thrown on the making thread once the writing side has given up.
struct Stopped {};

// Batches circulate: the maker takes an empty one, fills and sends it; the writer receives,
// writes and returns it. Their fixed number bounds how far ahead the maker runs.
class Handoff {
 public:
  explicit Handoff(std::size_t batches) {
    for (std::size_t i = 0; i < batches; ++i) empty_.push_back(std::make_unique<RowBatch>());
  }

  std::unique_ptr<RowBatch> takeEmpty() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || !empty_.empty(); });
    if (stopped_) throw Stopped{};
    std::unique_ptr<RowBatch> batch = std::move(empty_.back());
    empty_.pop_back();
    return batch;
  }
  void send(std::unique_ptr<RowBatch> batch) {
    std::lock_guard lock(mutex_);
    full_.push_back(std::move(batch));
    changed_.notify_all();
  }
  // The maker is done: `failure` is null when it made everything.
  void finish(std::exception_ptr failure) {
    std::lock_guard lock(mutex_);
    finished_ = true;
    failure_ = std::move(failure);
    changed_.notify_all();
  }

  // The next batch in order; null once the maker is done (or failed) and nothing more is to be written.
  std::unique_ptr<RowBatch> receive() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return failure_ || !full_.empty() || finished_; });
    if (failure_ || full_.empty()) return nullptr;
    std::unique_ptr<RowBatch> batch = std::move(full_.front());
    full_.erase(full_.begin());
    return batch;
  }
  void giveBack(std::unique_ptr<RowBatch> batch) {
    batch->clear();
    std::lock_guard lock(mutex_);
    empty_.push_back(std::move(batch));
    changed_.notify_all();
  }
  // The writer failed: the maker stops at its next batch.
  void stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }
  std::exception_ptr failure() {
    std::lock_guard lock(mutex_);
    return failure_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::unique_ptr<RowBatch>> empty_;
  std::vector<std::unique_ptr<RowBatch>> full_;  // in the order made
  bool finished_ = false;
  bool stopped_ = false;
  std::exception_ptr failure_;
};

// The maker's side: fills the current batch and sends it when full.
class HandoffLoader final : public BulkLoader {
 public:
  explicit HandoffLoader(Handoff& handoff) : handoff_(handoff) {}

  std::unique_ptr<RowWriter> open(std::string_view table, std::string_view columns) override {
    const auto writer = static_cast<uint16_t>(opened_++);
    batch().addOpen(writer, table, columns);
    return std::make_unique<Writer>(*this, writer);
  }
  // Ends the batch: its rows are written before the report reaches the caller.
  void progress(const Progress& progress) {
    batch().addProgress(progress);
    handoff_.send(std::move(batch_));
  }
  void flush() {
    if (batch_ && !batch_->empty()) handoff_.send(std::move(batch_));
  }

 private:
  class Writer final : public RowWriter {
   public:
    Writer(HandoffLoader& loader, uint16_t writer) : loader_(loader), writer_(writer) {}
    void write(std::span<const Value> values) override { loader_.row(writer_, values); }

   private:
    HandoffLoader& loader_;
    uint16_t writer_;
  };

  RowBatch& batch() {
    if (!batch_) batch_ = handoff_.takeEmpty();
    return *batch_;
  }
  void row(uint16_t writer, std::span<const Value> values) {
    batch().addRow(writer, values);
    if (batch_->full()) handoff_.send(std::move(batch_));
  }

  Handoff& handoff_;
  std::unique_ptr<RowBatch> batch_;
  std::size_t opened_ = 0;
};

// Each table's rows go together (their order within the table is all that matters), then the
// progress reports that followed them.
void writeBatch(const RowBatch& batch, BulkLoader& target, std::vector<std::unique_ptr<RowWriter>>& writers,
                const ProgressFn& progress) {
  for (const RowBatch::Opening& opening : batch.openings()) {
    if (writers.size() <= opening.writer) writers.resize(opening.writer + 1u);
    writers[opening.writer] = target.open(opening.table, opening.columns);
  }
  for (const RowBatch::Rows& rows : batch.rows()) writers[rows.writer]->writeRows(rows.values, rows.count);
  if (progress)
    for (const Progress& report : batch.progress()) progress(report);
}

}  // namespace

void loadInBackground(BulkLoader& target, const MakeRows& make, const ProgressFn& progress) {
  // Four batches: one being filled, one being written, two to even out the pace.
  Handoff handoff(4);
  std::thread maker([&] {
    try {
      HandoffLoader loader(handoff);
      make(loader, [&loader](const Progress& p) { loader.progress(p); });
      loader.flush();
      handoff.finish(nullptr);
    } catch (const Stopped&) {
      handoff.finish(nullptr);
    } catch (...) {
      handoff.finish(std::current_exception());
    }
  });
  try {
    std::vector<std::unique_ptr<RowWriter>> writers;
    while (std::unique_ptr<RowBatch> batch = handoff.receive()) {
      writeBatch(*batch, target, writers, progress);
      handoff.giveBack(std::move(batch));
    }
  } catch (...) {
    handoff.stop();
    maker.join();
    throw;
  }
  maker.join();
  if (std::exception_ptr failure = handoff.failure()) std::rethrow_exception(failure);
}

}  // namespace gen
