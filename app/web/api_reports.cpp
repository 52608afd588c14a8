// The report list, each report's filter keys and schemes, starting runs and the dialog on the page.
#include "app/exit_codes.h"
#include "app/web/api.h"
#include "app/web/charts.h"
#include "app/web/runs.h"
#include "platform/com/registry.h"
#include "platform/grfc/scheme_store.h"

namespace app::web {
namespace {

using nlohmann::json;

const char* typeName(KeyType type) {
  switch (type) {
    case KeyType::Text: return "text";
    case KeyType::QuotedText: return "quoted-text";
    case KeyType::DateText: return "date-text";
    case KeyType::DateValue: return "date";
    case KeyType::Int16: return "int16";
    case KeyType::Double: return "number";
    case KeyType::WholeDouble: return "whole-number";
  }
  return "text";
}

json keyJson(const FilterKey& key) {
  json out = {{"name", key.name}, {"type", typeName(key.type)}, {"meaning", key.meaning}};
  switch (key.from) {
    case DefaultFrom::CurrentYear: out["default"] = "current year"; break;
    case DefaultFrom::CurrentPeriod: out["default"] = "current period"; break;
    case DefaultFrom::Value: out["default"] = key.optional ? json(nullptr) : json(key.fallback); break;
  }
  if (isNumeric(key.type)) {
    out["min"] = key.min;
    out["max"] = key.max;
  }
  if (!key.choices.empty()) {
    json choices = json::array();
    for (const frame::KeyChoice& c : key.choices) choices.push_back({{"value", c.value}, {"caption", c.caption}});
    out["choices"] = std::move(choices);
  }
  out["optional"] = key.optional;
  return out;
}

json reportJson(const ReportInfo& info) {
  const ChartSpec* chart = chartOf(info);
  return {{"report", info.shortName},
          {"number", info.number},
          {"name", info.name},
          {"className", info.className()},
          {"periodic", info.key("BPeriod") != nullptr},
          {"chart", chart ? json(chart->title) : json(nullptr)}};
}

// "set" as {"KEY": "VALUE"} or ["KEY=VALUE"], checked as `run --set` checks it.
std::vector<TypedValue> valuesOf(const ReportInfo& info, const json& body) {
  std::vector<std::string> pairs;
  if (body.contains("set")) {
    const json& set = body.at("set");
    if (set.is_object()) {
      for (const auto& [key, value] : set.items())
        pairs.push_back(key + "=" + (value.is_string() ? value.get<std::string>() : value.dump()));
    } else if (set.is_array()) {
      for (const json& pair : set) {
        if (!pair.is_string()) throw Failure{kExitUsage, "\"set\" holds KEY=VALUE texts"};
        pairs.push_back(pair.get<std::string>());
      }
    } else {
      throw Failure{kExitUsage, "\"set\" is an object of KEY: VALUE or a list of KEY=VALUE texts"};
    }
  }
  return parseSetPairs(info, pairs);
}

json statusJson(const RunStatus& s) {
  static constexpr const char* kStates[] = {"idle", "running", "done", "failed", "cancelled"};
  return {{"state", kStates[static_cast<int>(s.state)]},
          {"serial", s.serial},
          {"message", s.message},
          {"fraction", s.fraction},
          {"bar", s.barShown},
          {"period", s.period},
          {"periods", s.periods},
          {"error", s.error},
          {"messages", s.messages}};
}

void startOrRefuse(Session& session, std::function<void()> work, httplib::Response& response) {
  if (!session.start(std::move(work)))
    return replyError(response, 409, "a report is already running in this session");
  reply(response, statusJson(session.status()), 202);
}

}  // namespace

nlohmann::json runStatusJson(const RunStatus& status) { return statusJson(status); }

void addReportRoutes(httplib::Server& server, Sessions& sessions) {
  server.Get("/api/reports", withSession(sessions, [](Session&, const httplib::Request&, httplib::Response& response) {
               json list = json::array();
               for (const ReportInfo& info : reports()) list.push_back(reportJson(info));
               reply(response, list);
             }));
  server.Get(R"(/api/reports/([^/]+)/keys)",
             withSession(sessions, [](Session&, const httplib::Request& request, httplib::Response& response) {
               const ReportInfo* info = reportOf(request, response);
               if (!info) return;
               json keys = json::array();
               for (const FilterKey& key : info->keys) keys.push_back(keyJson(key));
               reply(response, {{"report", info->shortName}, {"keys", keys}});
             }));
  server.Get(R"(/api/reports/([^/]+)/schemes)",
             withSession(sessions, [](Session& session, const httplib::Request& request, httplib::Response& response) {
               const ReportInfo* info = reportOf(request, response);
               if (!info) return;
               ComponentLock lock(session.login());
               auto store = plat::broker().CreateAs<grfc::SchemeStore>(grfc::kSchemeStoreClass);
               reply(response, {{"report", info->shortName},
                                {"schemes", store->List(info->dialogNumber)},
                                {"lastUsed", store->LastUsed(info->dialogNumber)}});
             }));
  server.Post(R"(/api/reports/([^/]+)/run)",
              withSession(sessions, [](Session& session, const httplib::Request& request, httplib::Response& response) {
                const ReportInfo* info = reportOf(request, response);
                auto body = info ? bodyOf(request, response) : std::nullopt;
                if (!body) return;
                std::vector<TypedValue> values;
                try {
                  values = valuesOf(*info, *body);
                } catch (const Failure& f) {
                  return replyError(response, 400, f.message);
                }
                const std::string scheme = body->value("scheme", std::string());
                startOrRefuse(session,
                              scheme.empty() ? runWithValues(session, *info, std::move(values))
                                             : runWithScheme(session, *info, scheme, std::move(values)),
                              response);
              }));
  server.Post(R"(/api/reports/([^/]+)/dialog)",
              withSession(sessions, [](Session& session, const httplib::Request& request, httplib::Response& response) {
                const ReportInfo* info = reportOf(request, response);
                if (!info) return;
                startOrRefuse(session, runWithDialog(session, *info), response);
              }));
  server.Get("/api/dialog", withSession(sessions, [](Session& session, const httplib::Request&,
                                                    httplib::Response& response) {
               reply(response, session.formState());
             }));
  server.Post("/api/dialog/event", withSession(sessions, [](Session& session, const httplib::Request& request,
                                                           httplib::Response& response) {
                auto body = bodyOf(request, response);
                if (!body) return;
                std::optional<json> state = session.sendEvent(std::move(*body));
                if (!state) return replyError(response, 409, "no form is open");
                reply(response, *state);
              }));
  server.Get("/api/run", withSession(sessions, [](Session& session, const httplib::Request&,
                                                 httplib::Response& response) {
               reply(response, statusJson(session.status()));
             }));
}

}  // namespace app::web
