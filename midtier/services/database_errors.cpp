// Describing the database's failures for the user of a report.
#include "midtier/services/database_errors.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace midtier {
namespace {

// The name after SQLite's "no such table: " / "no such column: " in a description.
std::string nameAfter(const std::string& text, std::string_view marker) {
  const size_t at = text.find(marker);
  if (at == std::string::npos) return {};
  size_t end = at + marker.size();
  while (end < text.size() && text[end] != ' ' && text[end] != '(' && text[end] != ')' && text[end] != ',') ++end;
  return text.substr(at + marker.size(), end - at - marker.size());
}

std::string plainWords(const std::string& file, const db::Error& error) {
  const std::string& detail = error.description();
  const std::string quoted = "“" + file + "”";
  switch (error.primaryCode()) {
    case SQLITE_CANTOPEN: {
      std::error_code ec;
      if (!std::filesystem::exists(file, ec)) return "找不到公司数据库文件" + quoted + "，请检查连接属性中的 DBFile。";
      if (std::filesystem::is_directory(file, ec)) return quoted + "是一个目录，不是公司数据库文件。";
      return "无法打开公司数据库文件" + quoted + "（没有访问权限或文件不可用）。";
    }
    case SQLITE_NOTADB: return "文件" + quoted + "不是公司数据库，或者已经损坏。";
    case SQLITE_CORRUPT: return "公司数据库" + quoted + "已损坏，无法读取，请从备份恢复。";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "公司数据库" + quoted + "正被其他用户或程序写入（已锁定），请稍后再试。";
    case SQLITE_READONLY: return "公司数据库" + quoted + "是只读的，无法保存更改。";
    case SQLITE_FULL: return "磁盘已满，公司数据库" + quoted + "无法保存更改。";
    case SQLITE_IOERR: return "读写公司数据库" + quoted + "时发生磁盘错误。";
    default: break;
  }
  if (std::string table = nameAfter(detail, "no such table: "); !table.empty())
    return "公司数据库" + quoted + "缺少数据表 " + table + "，数据库不完整或版本不符。";
  if (std::string column = nameAfter(detail, "no such column: "); !column.empty())
    return "公司数据库" + quoted + "缺少字段 " + column + "，数据库不完整或版本不符。";
  return "访问公司数据库" + quoted + "时出错。";
}

FailureKind kindOf(const db::Error& error) {
  const std::string& detail = error.description();
  switch (error.primaryCode()) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_CANTOPEN: return FailureKind::Damaged;
    case SQLITE_IOERR:
      // A page that cannot be read is damage; a write or sync that fails leaves the file as it was.
      return error.sqliteCode() == SQLITE_IOERR_READ || error.sqliteCode() == SQLITE_IOERR_SHORT_READ ? FailureKind::Damaged
                                                                                            : FailureKind::Unwritable;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_READONLY:
    case SQLITE_FULL: return FailureKind::Unwritable;
    default: break;
  }
  if (detail.find("no such table: ") != std::string::npos || detail.find("no such column: ") != std::string::npos)
    return FailureKind::Damaged;
  return FailureKind::Other;
}

std::optional<DatabaseFailure>& last() {
  static std::optional<DatabaseFailure> failure;
  return failure;
}

// The name in the server's "relation "x" does not exist" / "column x does not exist".
std::string serverName(const std::string& text, std::string_view before) {
  const size_t at = text.find(before);
  if (at == std::string::npos) return {};
  size_t begin = at + before.size();
  if (begin < text.size() && text[begin] == '"') ++begin;
  size_t end = text.find_first_of("\" ", begin);
  return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::pair<std::string, FailureKind> serverWords(const std::string& name, const pg::Error& error) {
  const std::string quoted = "“" + name + "”";
  const std::string& state = error.sqlState();
  if (error.connectionLost() || state.starts_with("08") || state.starts_with("28") || state == "3D000" ||
      state.starts_with("57P"))
    return {"无法连接服务器上的公司数据库" + quoted + "，或连接已中断。", FailureKind::Damaged};
  if (state == "42P01")
    return {"公司数据库" + quoted + "缺少数据表 " + serverName(error.description(), "relation ") + "，数据库不完整或版本不符。",
            FailureKind::Damaged};
  if (state == "42703")
    return {"公司数据库" + quoted + "缺少字段 " + serverName(error.description(), "column ") + "，数据库不完整或版本不符。",
            FailureKind::Damaged};
  if (state == "25006" || state == "42501")
    return {"公司数据库" + quoted + "是只读的（或当前用户无权写入），无法保存更改。", FailureKind::Unwritable};
  if (state == "55P03" || state == "40001" || state == "40P01")
    return {"公司数据库" + quoted + "正被其他用户或程序写入（已锁定），请稍后再试。", FailureKind::Unwritable};
  if (state.starts_with("53")) return {"服务器磁盘已满或资源不足，公司数据库" + quoted + "无法保存更改。", FailureKind::Unwritable};
  return {"访问公司数据库" + quoted + "时出错。", FailureKind::Other};
}

}  // namespace

plat::Error userError(std::string_view source, const std::string& name, const pg::Error& error) {
  auto [words, kind] = serverWords(name, error);
  plat::Error described(error.number(), std::string(source), words + "（详细信息：" + error.description() + "）");
  last() = DatabaseFailure{static_cast<int>(error.number()), kind, described.description()};
  return described;
}

plat::Error userError(std::string_view source, const std::string& file, const db::Error& error) {
  plat::Error described(error.number(), std::string(source),
                        plainWords(file, error) + "（详细信息：" + error.description() + "）");
  last() = DatabaseFailure{error.sqliteCode(), kindOf(error), described.description()};
  return described;
}

std::optional<DatabaseFailure> lastFailure() { return last(); }

void clearLastFailure() { last().reset(); }

plat::Error refusal(std::string_view source, std::string description) {
  return plat::Error::invalidCall(std::string(source), std::move(description));
}

}  // namespace midtier
