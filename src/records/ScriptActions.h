#pragma once

#include <QString>

#include <array>
#include <optional>

namespace tarvok {

// The 22 script actions the editor knows, in the order of the action list.
struct ScriptAction {
    int number;
    const char* name; // UTF-8
    const char* hint; // shown when the action is chosen from the list; may be empty
};

inline constexpr const char* kBuildingHintA =
    "建筑ID，攻击/渗透/占领/"
    "C4爆破敌方特定的建筑，建筑ID由Rules中的注册相对顺序决定，ID=rules（md）中单位注册ID-1";
inline constexpr const char* kBuildingHintB =
    "建筑ID，移动至敌方特定的建筑，建筑ID由Rules中的注册相对顺序决定";

inline constexpr std::array<ScriptAction, 22> kScriptActions{{
    {0, "攻击最接近的敌方目标", ""},
    {5, "原地待命", "时间，命令单位处于Guard状态规定的时间，1=6秒"},
    {6, "转到行",
     "行号，跳至该脚本的指定行处继续执行，一般用于创建不断循环的脚本，行号一般应为序列ID+1，即0="
     "的行其行号是1，不要搞错"},
    {8, "运载工具卸载", ""},
    {9, "部署", ""},
    {11, "进入状态", ""},
    {14, "装载到运载工具中", ""},
    {43, "等待直到运载工装满", ""},
    {46, "攻击敌方建筑", kBuildingHintA},
    {47, "移动至敌方建筑", kBuildingHintA},
    {49, "该小队任务完成", ""},
    {53, "在敌方基地附近集结", ""},
    {54, "在己方基地附近集结", ""},
    {55, "请求铁幕(如果可用)", ""},
    {56, "请求超时空传送至敌方建筑物", kBuildingHintA},
    {57, "请求超时空传送至敌方目标", ""},
    {58, "移动至己方建筑", kBuildingHintA},
    {60, "送入部队回收厂", ""},
    {61, "送入坦克碉堡", ""},
    {62, "送入生化反应炉", ""},
    {63, "进入战斗碉堡", ""},
    {64, "驻守最接近的平民建筑", ""},
}};

inline bool isBuildingAction(int number) {
    return number == 46 || number == 47 || number == 56 || number == 58;
}

// A building action's parameter: the low 16 bits are the building's place, from 0, in the
// game rules' building list; the bits above say which building of that type is meant
// (0, 65536, 131072, 196608).
inline constexpr qint64 kBuildingIndexMask = 0xFFFF;

inline qint64 buildingIndex(qint64 parameter) {
    return parameter & kBuildingIndexMask;
}
// The parameter naming the building at index, with the high bits of oldParameter; nothing
// for an index the low bits cannot hold.
inline std::optional<qint64> buildingParameter(qint64 index, qint64 oldParameter) {
    if (index < 0 || index > kBuildingIndexMask)
        return std::nullopt;
    return (oldParameter & ~kBuildingIndexMask) | index;
}

// Parameter of actions 0 and 57: the kind of target.
struct NumberedName {
    int number;
    const char* name; // UTF-8
};

inline constexpr std::array<NumberedName, 11> kTargetCategories{{
    {1, "可攻击的任何"},
    {2, "敌方建筑物"},
    {3, "敌方矿车和矿场"},
    {4, "敌方步兵"},
    {5, "敌方载具"},
    {6, "敌方建造场兵营车厂空指部造船厂"},
    {7, "敌方基地防御"},
    {8, "基地威胁"},
    {9, "敌方发电厂"},
    {10, "可以驻守的平民建筑物"},
    {11, "可以占领的平民科技建筑物"},
}};

// Category 8 is unsafe for aircraft. The wording differs slightly between choosing the
// category from the list and typing its number; both are kept as users know them.
inline constexpr int kBaseThreatCategory = 8;
inline constexpr const char* kBaseThreatWarningChosen =
    "这个脚本不能用于战机，否则战机不会等装弹完毕就起飞了，当然无法投弹，再返回、再起飞……";
inline constexpr const char* kBaseThreatWarningTyped =
    "这个脚本不能用于战机，否则战机不会等装弹完毕就起飞了，当然无法投弹再返回再起飞……";

// Parameter of action 8: how the transport and its passengers leave the team.
inline constexpr std::array<NumberedName, 4> kUnloadModes{{
    {1, "运载工具和卸出单位都是小队成员"},
    {2, "运载工具是小队成员卸出单位成为新兵"},
    {3, "运载工具成为新兵"},
    {4, "运载工具和卸出单位都成为新兵"},
}};

// Parameter of action 11. The number written when a state is chosen from the list and
// the number explained as that state when typed are two different tables; each path
// keeps its own, so a chosen state may be explained as another one.
struct ScriptState {
    const char* name; // UTF-8, in list order
    int chosenNumber;
    int typedNumber;
};

inline constexpr std::array<ScriptState, 5> kScriptStates{{
    {"原地待命", 5, 5},
    {"原地永久驻扎", 6, 10},
    {"采矿", 10, 11},
    {"警戒", 11, 4},
    {"搜索敌人", 15, 15},
}};

// Actions whose only parameter is 0: the explanation of that 0 and the hint shown when
// a choice is taken from the list (may be empty).
struct ZeroParameterAction {
    int number;
    const char* explanation; // UTF-8
    const char* hint;        // UTF-8
};

inline constexpr const char* kLoadTogetherHint =
    "14和43一般应该连用，否则脚本就会在43处永久暂停而无法继续";

inline constexpr std::array<ZeroParameterAction, 12> kZeroParameterActions{{
    {9, "命令小队中可以部署的成员部署", ""},
    {14, "命令小队成员依次装载到运载工具中", kLoadTogetherHint},
    {43, "暂停脚本直到运载工装满然后继续", kLoadTogetherHint},
    {49, "该小队任务完成", "每个AI触发脚本都应该包含这个动作，否则可能导致AI触发分量处理不正确"},
    {53, "集结于距敌方基地中心AISafeDistance(Rules)的位置", ""},
    {54, "在己方基地附近集结", ""},
    {55, "向该小队的所有者请求铁幕保护", "不要傻不啦叽地往有步兵单位的作战小队中写……"},
    {60, "送入部队回收厂", ""},
    {61, "送入坦克碉堡", ""},
    {62, "送入生化反应炉", ""},
    {63, "进入战斗碉堡", ""},
    {64, "驻守最接近的平民建筑", ""},
}};

} // namespace tarvok
