// The PostgreSQL bulk loader: each table's rows in COPY's text format, sent in large pieces by a
// sender thread, so that the generator formats the next piece while the server stores this one.
#include <charconv>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "midtier/generator/row_writer.h"
#include "midtier/pg/connection.h"

namespace gen {
namespace {

constexpr std::size_t kFlushBytes = 8u << 20;
// Pieces formatted but not yet sent; bounds the memory when the server is the slower side.
constexpr std::size_t kMaxQueued = 3;

// One table's COPY statement, the rows not handed to the sender yet and the rows the server took.
struct Stream {
  std::string table;
  std::string copySql;
  std::string data;
  int64_t stored = 0;  // written by the sender thread only
};

// COPY's text format: tab between values, \N for Null, backslash escapes in texts.
void appendText(std::string& out, std::string_view text) {
  std::size_t plain = 0;
  while (plain < text.size() && text[plain] != '\\' && text[plain] != '\t' && text[plain] != '\n' && text[plain] != '\r')
    ++plain;
  out.append(text.substr(0, plain));
  for (char c : text.substr(plain)) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
}

void appendValue(std::string& out, const Value& value) {
  char buffer[32];
  if (const auto* text = std::get_if<std::string_view>(&value)) {
    appendText(out, *text);
  } else if (const auto* integer = std::get_if<int64_t>(&value)) {
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, *integer).ptr);
  } else if (const auto* real = std::get_if<double>(&value)) {
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, *real).ptr);  // shortest exact form
  } else {
    out += "\\N";
  }
}

// Sends pieces in the order they were handed over on a thread of its own, which alone uses
// the connection until finish(). The first failure is kept and rethrown to the generating
// thread at its next hand-over; later pieces are dropped, as are those still waiting when the
// loader is given up without finish().
class Sender {
 public:
  explicit Sender(pg::Connection& connection) : connection_(connection), thread_([this] { run(); }) {}
  Sender(const Sender&) = delete;
  Sender& operator=(const Sender&) = delete;
  ~Sender() {
    {
      std::lock_guard lock(mutex_);
      waiting_.clear();
    }
    stop();
  }

  void send(Stream& stream, std::string data) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return waiting_.size() + (sending_ ? 1 : 0) < kMaxQueued || failure_; });
    if (failure_) std::rethrow_exception(failure_);
    waiting_.push_back({&stream, std::move(data)});
    changed_.notify_all();
  }

  // Waits until every piece is stored. Throws the sending's failure.
  void finish() {
    stop();
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  struct Piece {
    Stream* stream;
    std::string data;
  };

  void run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [&] { return !waiting_.empty() || done_; });
      if (waiting_.empty()) return;
      Piece piece = std::move(waiting_.front());
      waiting_.pop_front();
      sending_ = true;
      lock.unlock();
      std::exception_ptr failure;
      try {
        piece.stream->stored += connection_.copyIn(piece.stream->copySql, piece.data);
      } catch (...) {
        failure = std::current_exception();
      }
      piece.data = std::string();
      lock.lock();
      sending_ = false;
      if (failure && !failure_) failure_ = failure;
      if (failure_) waiting_.clear();
      changed_.notify_all();
    }
  }

  void stop() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
      changed_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
  }

  pg::Connection& connection_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Piece> waiting_;
  bool sending_ = false;
  std::exception_ptr failure_;
  bool done_ = false;
  std::thread thread_;  // last: starts once the members it uses are made
};

class CopyWriter final : public RowWriter {
 public:
  CopyWriter(Sender& sender, Stream& stream) : sender_(sender), stream_(stream) {}
  void write(std::span<const Value> values) override {
    std::string& out = stream_.data;
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i) out += '\t';
      appendValue(out, values[i]);
    }
    out += '\n';
    if (out.size() >= kFlushBytes) {
      std::string full;
      full.reserve(kFlushBytes + (kFlushBytes >> 4));
      full.swap(out);
      sender_.send(stream_, std::move(full));
    }
  }

 private:
  Sender& sender_;
  Stream& stream_;
};

class CopyLoader final : public PostgresLoader {
 public:
  explicit CopyLoader(pg::Connection& connection) : sender_(connection) {}
  std::unique_ptr<RowWriter> open(std::string_view table, std::string_view columns) override {
    const std::string key = std::string(table) + "(" + std::string(columns) + ")";
    Stream& stream = streams_[key];
    if (stream.copySql.empty()) {
      stream.table = table;
      stream.copySql = "COPY " + key + " FROM STDIN WITH (FREEZE)";
    }
    return std::make_unique<CopyWriter>(sender_, stream);
  }
  std::map<std::string, int64_t> finish() override {
    for (auto& [key, stream] : streams_)
      if (!stream.data.empty()) sender_.send(stream, std::move(stream.data));
    sender_.finish();
    std::map<std::string, int64_t> rows;
    for (const auto& [key, stream] : streams_) rows[stream.table] += stream.stored;
    return rows;
  }

 private:
  Sender sender_;
  std::map<std::string, Stream> streams_;
};

}  // namespace

std::unique_ptr<PostgresLoader> postgresLoader(pg::Connection& connection) {
  return std::make_unique<CopyLoader>(connection);
}

}  // namespace gen
