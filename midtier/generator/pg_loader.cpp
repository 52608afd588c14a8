// The PostgreSQL bulk loader: each table's rows in COPY's text format, sent in large pieces.
#include <charconv>
#include <map>
#include <string>

#include "midtier/generator/row_writer.h"
#include "midtier/pg/connection.h"

namespace gen {
namespace {

constexpr std::size_t kFlushBytes = 8u << 20;

// One table's COPY statement and the rows not sent yet.
struct Stream {
  std::string copySql;
  std::string data;
};

void flush(pg::Connection& connection, Stream& stream) {
  if (stream.data.empty()) return;
  connection.copyIn(stream.copySql, stream.data);
  stream.data.clear();
}

// COPY's text format: tab between values, \N for Null, backslash escapes in texts.
void appendValue(std::string& out, const Value& value) {
  if (const auto* text = std::get_if<std::string_view>(&value)) {
    for (char c : *text) {
      switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
      }
    }
  } else if (const auto* integer = std::get_if<int64_t>(&value)) {
    out += std::to_string(*integer);
  } else if (const auto* real = std::get_if<double>(&value)) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, *real);  // shortest exact form
    out.append(buffer, result.ptr);
  } else {
    out += "\\N";
  }
}

class CopyWriter final : public RowWriter {
 public:
  CopyWriter(pg::Connection& connection, Stream& stream) : connection_(connection), stream_(stream) {}
  void write(std::span<const Value> values) override {
    std::string& out = stream_.data;
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i) out += '\t';
      appendValue(out, values[i]);
    }
    out += '\n';
    if (out.size() >= kFlushBytes) flush(connection_, stream_);
  }

 private:
  pg::Connection& connection_;
  Stream& stream_;
};

class CopyLoader final : public PostgresLoader {
 public:
  explicit CopyLoader(pg::Connection& connection) : connection_(connection) {}
  std::unique_ptr<RowWriter> open(std::string_view table, std::string_view columns) override {
    const std::string key = std::string(table) + "(" + std::string(columns) + ")";
    Stream& stream = streams_[key];
    if (stream.copySql.empty()) stream.copySql = "COPY " + key + " FROM STDIN";
    return std::make_unique<CopyWriter>(connection_, stream);
  }
  void finish() override {
    for (auto& [key, stream] : streams_) flush(connection_, stream);
  }

 private:
  pg::Connection& connection_;
  std::map<std::string, Stream> streams_;
};

}  // namespace

std::unique_ptr<PostgresLoader> postgresLoader(pg::Connection& connection) {
  return std::make_unique<CopyLoader>(connection);
}

}  // namespace gen
