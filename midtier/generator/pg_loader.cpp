// The PostgreSQL bulk loader: each table's rows in COPY's text format, sent in large pieces by the
// worker of the table's connection, so that the generator formats the next pieces while the
// server stores these.
#include <charconv>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "midtier/generator/pg_worker.h"
#include "midtier/generator/row_writer.h"
#include "midtier/pg/connection.h"

namespace gen {
namespace {

constexpr std::size_t kFlushBytes = 8u << 20;

// One table's COPY statement, the rows not handed to its worker yet and the rows the server took.
struct Stream {
  std::string table;
  std::string copySql;
  std::string data;
  Worker* worker = nullptr;
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
  std::string piece;
  piece.reserve(kFlushBytes + (kFlushBytes >> 4));
  piece.swap(stream.data);
  stream.worker->post([&stream, piece = std::move(piece)](pg::Connection& connection) {
    stream.stored += connection.copyIn(stream.copySql, piece);
  });
}

class CopyWriter final : public RowWriter {
 public:
  explicit CopyWriter(Stream& stream) : stream_(stream) {}
  void write(std::span<const Value> values) override {
    std::string& out = stream_.data;
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i) out += '\t';
      appendValue(out, values[i]);
    }
    out += '\n';
    if (out.size() >= kFlushBytes) send(stream_);
  }

 private:
  Stream& stream_;
};

class CopyLoader final : public PostgresLoader {
 public:
  CopyLoader(std::span<Worker* const> workers, std::function<std::size_t(std::string_view)> route)
      : workers_(workers.begin(), workers.end()), route_(std::move(route)) {}
  // The workers' jobs refer to the streams: none may be left when they go.
  ~CopyLoader() override {
    for (Worker* worker : workers_) worker->cancel();
  }
  std::unique_ptr<RowWriter> open(std::string_view table, std::string_view columns) override {
    const std::string key = std::string(table) + "(" + std::string(columns) + ")";
    Stream& stream = streams_[key];
    if (stream.copySql.empty()) {
      stream.table = table;
      stream.copySql = "COPY " + key + " FROM STDIN WITH (FREEZE)";
      stream.worker = workers_.at(route_(table));
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
  std::vector<Worker*> workers_;
  std::function<std::size_t(std::string_view)> route_;
  std::map<std::string, Stream> streams_;
};

}  // namespace

std::unique_ptr<PostgresLoader> postgresLoader(std::span<Worker* const> workers,
                                               std::function<std::size_t(std::string_view table)> route) {
  return std::make_unique<CopyLoader>(workers, std::move(route));
}

}  // namespace gen
