#pragma once

#include <QString>

#include <array>

namespace tarvok {

// The 22 script actions the editor knows, in the order of the action list.
struct ScriptAction {
    int number;
    const char* name; // UTF-8
    const char* hint; // shown when the action is chosen from the list; may be empty
};

inline constexpr const char* kBuildingHintA =
    "建筑ID，攻击/渗透/占领/C4爆破敌方特定的建筑，建筑ID由Rules中的注册相对顺序决定，ID=rules（md）中单位注册ID-1";
inline constexpr const char* kBuildingHintB =
    "建筑ID，移动至敌方特定的建筑，建筑ID由Rules中的注册相对顺序决定";

inline constexpr std::array<ScriptAction, 22> kScriptActions{{
    {0, "攻击最接近的敌方目标", ""},
    {5, "原地待命", "时间，命令单位处于Guard状态规定的时间，1=6秒"},
    {6, "转到行",
     "行号，跳至该脚本的指定行处继续执行，一般用于创建不断循环的脚本，行号一般应为序列ID+1，即0=的行其行号是1，不要搞错"},
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

} // namespace tarvok
