// Class names under which the outside services and the component's classes are created.
#pragma once

namespace svc {

inline constexpr const char* kShareProps = "TavPropsMgr.ShareProps";
inline constexpr const char* kSystemProfile = "TavEBSBase.SystemProfile";
inline constexpr const char* kGLData = "TavEBCGLView.GLData";
inline constexpr const char* kItemInfo = "TavEBSGLItem.ItemInfo";
inline constexpr const char* kStockRptData = "TavMStockRpt.Data";
inline constexpr const char* kShopRptData = "TavMShopRpt.Data";
inline constexpr const char* kListControl = "TavList.ICList";

}  // namespace svc
