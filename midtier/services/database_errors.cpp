// Describing SQLite's failures for the user of a report.
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

}  // namespace

plat::Error userError(std::string_view source, const std::string& file, const db::Error& error) {
  return plat::Error(error.number(), std::string(source),
                     plainWords(file, error) + "（详细信息：" + error.description() + "）");
}

plat::Error refusal(std::string_view source, std::string description) {
  return plat::Error::invalidCall(std::string(source), std::move(description));
}

}  // namespace midtier
