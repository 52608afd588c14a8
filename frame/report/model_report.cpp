#include "frame/report/model_report.h"

#include "frame/host/context.h"
#include "frame/host/settings.h"
#include "frame/services/class_names.h"
#include "frame/sql/data_right.h"

namespace frame {

void ModelReport::ApplyDataRight(const lumo::Vector& tables, const lumo::Vector& rules) {
  std::string from, where;
  BuildDataRight(tables, rules, from, where);
  Filter()->SetValue("DataRightFrom", from);
  Filter()->SetValue("DataRightWhere", where);
}

plat::Variant ModelReport::GetRptList() {
  try {
    auto header = lumo::newVector();
    SetHeader(header);
    AddColumns(*header);
    ApplyDataRight(*DataRightTables(), *DataRightRules());
    ProgressBar().HideProgBar();
    ProgressBar().SetMsg(Msg("正在从服务器读取数据..."));
    auto service = CreateService<svc::ShopRptData>(svc::kShopRptData);
    Filter()->SetValue("bLongNumber", LongNumberFlag());
    Filter()->SetValue("RptID", plat::val(NumberText()));
    lumo::DictionaryRef filter = Filter();
    ado::RecordsetRef rows = FetchRows(*service, PropsString(), filter);
    ReplaceFilter(filter);
    if (!rows) throw plat::Error::typeMismatch(svc::kShopRptData, "The report data service returned no record set");
    ProgressBar().Unload();
    SetOk();
    SetRs(rows);
  } catch (const std::exception& e) {
    Fail(e);
  }
  return {};
}

}  // namespace frame
