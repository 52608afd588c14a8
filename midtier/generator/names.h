// Chinese names for the demo's people, companies, departments and items.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gen {

class Rng;

std::string chineseNumeral(int n);           // 1..99: "一", "十二", "三十"
std::string personName(Rng& rng);           // "王建华"
std::string customerName(Rng& rng);          // "杭州恒通机电有限公司"
std::string supplierName(Rng& rng);          // "苏州瑞丰钢铁有限公司"
std::string_view colourName(int index);      // auxiliary properties; index < colourCount()
int colourCount();
std::string_view taskMemo(int index);        // memo texts of production tasks
int taskMemoCount();

}  // namespace gen
