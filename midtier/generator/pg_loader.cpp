// The PostgreSQL bulk loader: each table's rows in COPY's binary format (text where a column's
// type has no binary writer here), sent in large pieces by the worker of the table's connection,
// so that the generator makes the next pieces while the server stores these.
#include <charconv>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "midtier/generator/copy_binary.h"
#include "midtier/generator/pg_worker.h"
#include "midtier/generator/row_writer.h"
#include "midtier/pg/connection.h"
#include "midtier/pg/schema.h"
#include "platform/core/variant.h"
#include "platform/lumo/dictionary.h"

namespace gen {
namespace {

constexpr std::size_t kFlushBytes = 8u << 20;

// Buffers of pieces the server has taken, kept for the next pieces: a new one would be mapped and
// zero-filled by the kernel page by page every time (a sixth of the client's time).
class BufferPool {
 public:
  std::string take() {
    {
      std::lock_guard lock(mutex_);
      if (!free_.empty()) {
        std::string buffer = std::move(free_.back());
        free_.pop_back();
        return buffer;
      }
    }
    std::string buffer;
    buffer.reserve(kFlushBytes + (kFlushBytes >> 4));
    return buffer;
  }
  void give(std::string buffer) {
    buffer.clear();
    std::lock_guard lock(mutex_);
    if (free_.size() < kKept) free_.push_back(std::move(buffer));
  }

 private:
  static constexpr std::size_t kKept = 16;
  std::mutex mutex_;
  std::vector<std::string> free_;
};

// One table's COPY statement, the rows not handed to its worker yet and the rows the server took.
struct Stream {
  std::string table;
  std::string copySql;
  std::string data;
  std::vector<WireType> types;  // empty: the text format
  Worker* worker = nullptr;
  BufferPool* buffers = nullptr;
  int64_t stored = 0;  // written by the worker, read after it is done
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

// Hands the stream's rows to its worker as one COPY.
void send(Stream& stream) {
  if (!stream.types.empty()) stream.data.append(kBinaryCopyTrailer);
  std::string piece = stream.buffers->take();
  piece.swap(stream.data);
  stream.worker->post([&stream, piece = std::move(piece)](pg::Connection& connection) mutable {
    stream.stored += connection.copyIn(stream.copySql, piece);
    stream.buffers->give(std::move(piece));
  });
}

class CopyWriter final : public RowWriter {
 public:
  explicit CopyWriter(Stream& stream) : stream_(stream) {}
  void write(std::span<const Value> values) override {
    std::string& out = stream_.data;
    if (!stream_.types.empty()) {
      if (out.empty()) out.append(kBinaryCopyHeader);
      appendBinaryRow(out, values, stream_.types, stream_.table);
    } else {
      for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) out += '\t';
        appendValue(out, values[i]);
      }
      out += '\n';
    }
    if (out.size() >= kFlushBytes) send(stream_);
  }

 private:
  Stream& stream_;
};

class CopyLoader final : public PostgresLoader {
 public:
  CopyLoader(std::span<Worker* const> workers, std::function<std::size_t(std::string_view)> route,
             pg::ColumnTypes types)
      : workers_(workers.begin(), workers.end()), route_(std::move(route)), types_(std::move(types)) {}
  // The workers' jobs refer to the streams: none may be left when they go.
  ~CopyLoader() override {
    for (Worker* worker : workers_) worker->cancel();
  }
  std::unique_ptr<RowWriter> open(std::string_view table, std::string_view columns) override {
    const std::string key = std::string(table) + "(" + std::string(columns) + ")";
    Stream& stream = streams_[key];
    if (stream.copySql.empty()) {
      stream.table = table;
      stream.types = wireTypes(table, columns);
      stream.copySql = "COPY " + key + (stream.types.empty() ? " FROM STDIN WITH (FREEZE)" : " FROM STDIN WITH (FORMAT binary, FREEZE)");
      stream.worker = workers_.at(route_(table));
      stream.buffers = &buffers_;
    }
    return std::make_unique<CopyWriter>(stream);
  }
  std::map<std::string, int64_t> finish() override {
    for (auto& [key, stream] : streams_)
      if (!stream.data.empty()) send(stream);
    for (Worker* worker : workers_) worker->wait();
    std::map<std::string, int64_t> rows;
    for (const auto& [key, stream] : streams_) rows[stream.table] += stream.stored;
    return rows;
  }

 private:
  // The wire types of `columns` of `table`, or none when one of them has no binary writer.
  std::vector<WireType> wireTypes(std::string_view table, std::string_view columns) const {
    const auto found = types_.find(lumo::foldCase(table));
    if (found == types_.end()) return {};
    std::vector<WireType> types;
    for (std::size_t start = 0; start <= columns.size();) {
      std::size_t end = columns.find(',', start);
      if (end == std::string_view::npos) end = columns.size();
      const auto type = found->second.find(lumo::foldCase(plat::trim(columns.substr(start, end - start))));
      const std::optional<WireType> wire = type == found->second.end() ? std::nullopt : wireTypeOf(type->second);
      if (!wire) return {};
      types.push_back(*wire);
      start = end + 1;
    }
    return types;
  }

  std::vector<Worker*> workers_;
  std::function<std::size_t(std::string_view)> route_;
  pg::ColumnTypes types_;
  BufferPool buffers_;  // before the streams, whose jobs give buffers back
  std::map<std::string, Stream> streams_;
};

}  // namespace

std::unique_ptr<PostgresLoader> postgresLoader(std::span<Worker* const> workers,
                                               std::function<std::size_t(std::string_view table)> route,
                                               pg::ColumnTypes types) {
  return std::make_unique<CopyLoader>(workers, std::move(route), std::move(types));
}

}  // namespace gen
