// The session's result: rows, drill-down and back, downloads and the chart.
#include <filesystem>
#include <limits>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/export/exporters.h"
#include "app/export/table_json.h"
#include "app/web/api.h"
#include "app/web/charts.h"
#include "app/web/runs.h"
#include "frame/report/report.h"
#include "platform/core/date.h"

namespace app::web {
namespace {

using nlohmann::json;


// Runs `use` on the session's top result under the component lock; 404 when there is none.
template <class Use>
void withResult(Session& session, httplib::Response& response, Use&& use) {
  ComponentLock lock(session.login());
  if (session.results().empty()) return replyError(response, 404, "no result: run a report first");
  use(session.results().back(), session.results().size());
}

std::string shortNameOf(const Shown& shown) { return shown.info ? std::string(shown.info->shortName) : ""; }

// The bytes `run --format FORMAT --out FILE` writes for the same table.
std::string exported(const TableModel& model, Format format) {
  if (format != Format::Xlsx) {
    std::ostringstream out;
    exportTable(model, format, "", out, GridOptions{});
    return out.str();
  }
  static int serial = 0;
  const auto path = std::filesystem::temp_directory_path() /
                    ("tavshoprpt-web-" + std::to_string(::getpid()) + "-" + std::to_string(++serial) + ".xlsx");
  writeXlsx(model, path.string());
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  return bytes.str();
}

const char* contentType(Format format) {
  switch (format) {
    case Format::Csv: return "text/csv; charset=utf-8";
    case Format::Html: return "text/html; charset=utf-8";
    case Format::Xlsx: return "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
    case Format::Json: return "application/json";
    case Format::Table: break;
  }
  return "text/plain; charset=utf-8";
}

size_t sizeParam(const httplib::Request& request, const char* name, size_t fallback) {
  if (!request.has_param(name)) return fallback;
  try {
    return static_cast<size_t>(std::stoul(request.get_param_value(name)));
  } catch (const std::exception&) {
    return fallback;
  }
}

}  // namespace

void addResultRoutes(httplib::Server& server, Sessions& sessions) {
  server.Get("/api/result", withSession(sessions, [](Session& session, const httplib::Request& request,
                                                    httplib::Response& response) {
               const size_t first = sizeParam(request, "first", 0);
               const size_t count = sizeParam(request, "count", std::numeric_limits<size_t>::max());
               withResult(session, response, [&](const Shown& shown, size_t depth) {
                 json out = tableJson(*shown.model, first, count);
                 out["report"] = shortNameOf(shown);
                 out["depth"] = depth;
                 out["drillable"] = dynamic_cast<frame::DrillDown*>(shown.report.get()) != nullptr;
                 reply(response, out);
               });
             }));
  server.Post("/api/result/drill", withSession(sessions, [](Session& session, const httplib::Request& request,
                                                           httplib::Response& response) {
                auto body = bodyOf(request, response);
                if (!body) return;
                if (!body->contains("row") || !(*body)["row"].is_number_integer())
                  return replyError(response, 400, "\"row\" (1-based) is needed");
                if (!session.start(drillDown(session, (*body)["row"].get<long>())))
                  return replyError(response, 409, "a report is already running in this session");
                reply(response, runStatusJson(session.status()), 202);
              }));
  server.Post("/api/result/back", withSession(sessions, [](Session& session, const httplib::Request&,
                                                          httplib::Response& response) {
                if (session.status().state == RunStatus::State::Running)
                  return replyError(response, 409, "a report is running in this session");
                ComponentLock lock(session.login());
                if (session.results().size() < 2) return replyError(response, 409, "no earlier result");
                session.results().pop_back();
                reply(response, {{"depth", session.results().size()}});
              }));
  server.Get("/api/result/export", withSession(sessions, [](Session& session, const httplib::Request& request,
                                                           httplib::Response& response) {
               const std::string name = request.get_param_value("format");
               const std::optional<Format> format = parseFormat(name);
               if (!format || *format == Format::Table)
                 return replyError(response, 400, "format is csv, xlsx, html or json");
               withResult(session, response, [&](const Shown& shown, size_t) {
                 const std::string file = (shortNameOf(shown).empty() ? "report" : shortNameOf(shown)) + "." + name;
                 response.set_header("Content-Disposition", "attachment; filename=\"" + file + "\"");
                 response.set_content(exported(*shown.model, *format), contentType(*format));
               });
             }));
  server.Get("/api/result/chart", withSession(sessions, [](Session& session, const httplib::Request&,
                                                          httplib::Response& response) {
               withResult(session, response, [&](const Shown& shown, size_t) {
                 const ChartSpec* spec = shown.info ? chartOf(*shown.info) : nullptr;
                 if (!spec) return replyError(response, 404, "this report has no chart");
                 reply(response, chartData(*spec, *shown.model, plat::Date::today().iso()));
               });
             }));
}

}  // namespace app::web
