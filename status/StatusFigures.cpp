#include "status/StatusFigures.h"

#include <cstring>

namespace StatusFigures {

namespace {

using S = const TZEMStatusNow&;

// 次回必要経験値: the experience still needed for the next level plus what the current level
// took, i.e. the total at which the next level is reached.
std::int64_t nextExperience(S s) {
    return TZEMStatusNow::ExpBetween(s.LV, s.LV + 1) + s.GetEXP();
}

// 命中 and 回避 both show 器用さ at the level.
constexpr std::array<Figure, Count> figures{{
    {"viwNHP", "Label35", "生命", Better::Higher, [](S s) -> std::int64_t { return s.GetHP(); }},
    {"viwNMP", "Label36", "気合", Better::Higher, [](S s) -> std::int64_t { return s.GetMP(); }},
    {"viwNPOW", "Label39", "腕力", Better::Higher, [](S s) -> std::int64_t { return s.GetPOW(); }},
    {"viwNVIT", "Label38", "耐久力", Better::Higher,
     [](S s) -> std::int64_t { return s.GetVIT(); }},
    {"viwNDEX", "Label37", "器用さ", Better::Higher,
     [](S s) -> std::int64_t { return s.GetDEX(); }},
    {"viwNINT", "Label40", "知力", Better::Higher, [](S s) -> std::int64_t { return s.GetINT(); }},
    {"viwNPHI", "Label41", "魅力", Better::Higher, [](S s) -> std::int64_t { return s.GetPHI(); }},
    {"viwNSOL", "Label45", "土属性", Better::Higher,
     [](S s) -> std::int64_t { return s.GetSOL(); }},
    {"viwNWTR", "Label46", "水属性", Better::Higher,
     [](S s) -> std::int64_t { return s.GetWTR(); }},
    {"viwNFIR", "Label47", "火属性", Better::Higher,
     [](S s) -> std::int64_t { return s.GetFIR(); }},
    {"viwNWND", "Label48", "風属性", Better::Higher,
     [](S s) -> std::int64_t { return s.GetWND(); }},
    {"viwNSLT", "Label42", "技能枠", Better::Higher,
     [](S s) -> std::int64_t { return s.GetSLT(); }},
    {"viwNHPG", "Label1", "生命回復量", Better::Higher,
     [](S s) -> std::int64_t { return s.GetHPG(); }},
    {"viwNMPG", "Label2", "気合回復量", Better::Higher,
     [](S s) -> std::int64_t { return s.GetMPG(); }},
    {"viwNHIT", "Label44", "命中", Better::Higher, [](S s) -> std::int64_t { return s.GetDEX(); }},
    {"viwNAVD", "Label43", "回避", Better::Higher, [](S s) -> std::int64_t { return s.GetDEX(); }},
    {"viwNAMP", "Label4", "攻撃消費気合", Better::Lower,
     [](S s) -> std::int64_t { return s.GetAMP(); }},
    {"viwNMWT", "Label49", "限界最大重量", Better::Higher,
     [](S s) -> std::int64_t { return s.GetMWT(); }},
    {"viwNEAT", "Label3", "食料適正価値", Better::Neither,
     [](S s) -> std::int64_t { return s.GetEAT(); }},
    {"viwNEXP", "Label5", "現在経験値", Better::Neither, [](S s) { return s.GetEXP(); }},
    {"viwNNEX", "Label6", "次回必要経験値", Better::Neither, nextExperience},
}};

}  // namespace

const std::array<Figure, Count>& all() {
    return figures;
}

int indexOf(const char* view) {
    for (int i = 0; i < Count; ++i) {
        if (std::strcmp(figures[static_cast<std::size_t>(i)].view, view) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace StatusFigures
