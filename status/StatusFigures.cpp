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

// The status window's getters as figures.
template <auto Get>
std::int64_t get(S s) {
    return (s.*Get)();
}

// 命中 and 回避 both show 器用さ at the level.
constexpr std::array<Figure, Count> figures{{
    {"viwNHP", "Label35", "生命", Better::Higher, get<&TZEMStatusNow::GetHP>},
    {"viwNMP", "Label36", "気合", Better::Higher, get<&TZEMStatusNow::GetMP>},
    {"viwNPOW", "Label39", "腕力", Better::Higher, get<&TZEMStatusNow::GetPOW>},
    {"viwNVIT", "Label38", "耐久力", Better::Higher, get<&TZEMStatusNow::GetVIT>},
    {"viwNDEX", "Label37", "器用さ", Better::Higher, get<&TZEMStatusNow::GetDEX>},
    {"viwNINT", "Label40", "知力", Better::Higher, get<&TZEMStatusNow::GetINT>},
    {"viwNPHI", "Label41", "魅力", Better::Higher, get<&TZEMStatusNow::GetPHI>},
    {"viwNSOL", "Label45", "土属性", Better::Higher, get<&TZEMStatusNow::GetSOL>},
    {"viwNWTR", "Label46", "水属性", Better::Higher, get<&TZEMStatusNow::GetWTR>},
    {"viwNFIR", "Label47", "火属性", Better::Higher, get<&TZEMStatusNow::GetFIR>},
    {"viwNWND", "Label48", "風属性", Better::Higher, get<&TZEMStatusNow::GetWND>},
    {"viwNSLT", "Label42", "技能枠", Better::Higher, get<&TZEMStatusNow::GetSLT>},
    {"viwNHPG", "Label1", "生命回復量", Better::Higher, get<&TZEMStatusNow::GetHPG>},
    {"viwNMPG", "Label2", "気合回復量", Better::Higher, get<&TZEMStatusNow::GetMPG>},
    {"viwNHIT", "Label44", "命中", Better::Higher, get<&TZEMStatusNow::GetDEX>},
    {"viwNAVD", "Label43", "回避", Better::Higher, get<&TZEMStatusNow::GetDEX>},
    {"viwNAMP", "Label4", "攻撃消費気合", Better::Lower, get<&TZEMStatusNow::GetAMP>},
    {"viwNMWT", "Label49", "限界最大重量", Better::Higher, get<&TZEMStatusNow::GetMWT>},
    {"viwNEAT", "Label3", "食料適正価値", Better::Neither, get<&TZEMStatusNow::GetEAT>},
    {"viwNEXP", "Label5", "現在経験値", Better::Neither, get<&TZEMStatusNow::GetEXP>},
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
