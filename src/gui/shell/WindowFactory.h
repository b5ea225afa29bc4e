#pragma once

class ChildWindow;
class MainFrm;
struct CatalogEntry;

// The child windows that are not analysis windows, each made in one place so that a window
// can be replaced by changing one line.
namespace WindowFactory {
// 一発ズバリオ予想: its numbers go to 組合せ購入 when asked
ChildWindow *createPredictionWindow(MainFrm &frame);
// 当選データ入力
ChildWindow *createDataEntryWindow(MainFrm &frame);
// 当せん金一覧
ChildWindow *createPrizeListWindow(MainFrm &frame, const CatalogEntry &entry);
// 当選照合
ChildWindow *createCheckWindow(MainFrm &frame);
// 理論との比較
ChildWindow *createTheoryWindow(MainFrm &frame, const CatalogEntry &entry);
// ペア出現分析
ChildWindow *createPairWindow(MainFrm &frame, const CatalogEntry &entry);
// 組合せ購入: its tickets go to 当選照合 when asked
ChildWindow *createWheelWindow(MainFrm &frame, const CatalogEntry &entry);
// 予想の検証
ChildWindow *createBacktestWindow(MainFrm &frame, const CatalogEntry &entry);
} // namespace WindowFactory
