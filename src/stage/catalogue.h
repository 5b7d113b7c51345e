// The map-part catalogue: what every PartId byte of a map stands for, the family numbering, the partner ids,
// the editor's icon square and the editor's help lines.
#pragma once

#include <cstdint>

// Named ids and the first id of each numbered family.
enum PartIdName : int {
  Empty = 0,
  StartPoint = 1,
  GoalFlag = 2,
  Block = 3,
  SaveBlock1 = 4,         // SaveBlockN = 2N + 2
  SaveBlockPressed1 = 5,  // SaveBlockPressedN = 2N + 3
  SaveBlock6 = 14,
  SaveBlockPressed6 = 15,
  SpikeLeft = 16,
  SpikeRight = 17,
  SpikeUp = 18,
  SpikeDown = 19,
  TrapSpikeFirst = 20,  // 20 + 8(g - 1) + 4s + d
  TrapSpikeLast = 83,
  RestartPoint1 = 84,  // RestartPointN = 83 + N
  RestartPoint6 = 89,
  LockBlock1 = 90,
  LockBlock2 = 91,
  LockBlock3 = 92,
  Key1 = 93,
  Key2 = 94,
  Key3 = 95,
  SpikeTriggerFirst = 96,  // TrapSpike + 76
  SpikeTriggerLast = 159,
  RovingSpikeFirst = 160,  // 160 + 4s + d
  RovingSpikeLast = 167,
  SpikeTurnerFirst = 168,  // 168 + 4s + d
  SpikeTurnerLast = 175,
  Signboard1 = 176,
  Signboard4 = 179,
  BalloonBlock6 = 180,
  BalloonBlock12 = 181,
  BalloonBlock24 = 182,
  BalloonBlock36 = 183,
  CountBalloon6 = 184,
  CountBalloon12 = 185,
  CountBalloon24 = 186,
  CountBalloon36 = 187,
  BreakableBlock = 188,
  BouncingSpike = 189,
  InvisibleBlock = 190,
  IceBlock = 191,
  NullPartFirst = 192,
};

enum class PartFamily : uint8_t {
  Empty,
  StartPoint,
  GoalFlag,
  Block,
  SaveBlock,
  SaveBlockPressed,
  Spike,  // the four fixed spikes 16..19
  TrapSpike,
  RestartPoint,
  LockBlock,
  Key,
  SpikeTrigger,
  RovingSpike,
  SpikeTurner,
  Signboard,
  BalloonBlock,
  CountBalloon,
  BreakableBlock,
  BouncingSpike,
  InvisibleBlock,
  IceBlock,
  NullPart,
};

// Direction order shared by every family with a direction; speed 0 slow, 1 fast.
enum { DirLeft = 0, DirRight = 1, DirUp = 2, DirDown = 3 };

// A part's family and the parameters that its family has (-1 where the family has none).
struct PartInfo {
  PartFamily Family;
  int8_t Group;      // trap spikes and triggers: 1..8
  int8_t Speed;      // trap spikes, triggers, roving spikes, turners: 0..1
  int8_t Direction;  // those and the fixed spikes: 0..3
  int8_t Number;     // save blocks, pressed save blocks, restart points, signboards, locks, keys: N
  int8_t Seconds;    // balloon blocks and count balloons: 6, 12, 24, 36
};
PartInfo PartInfoOf(int id);

// Help lines shown by the editor: one to four fixed UTF-16 strings.
int PartHelpLineCount(int id);
const char16_t* PartHelpLine(int id, int line);  // line 0..count-1

// Partner ids.
constexpr int TriggerOfTrapSpike(int trapSpike) { return trapSpike + 76; }
constexpr int TrapSpikeOfTrigger(int trigger) { return trigger - 76; }
constexpr int PressedFormOfSaveBlock(int saveBlock) { return saveBlock + 1; }
constexpr int RestartPointOfSaveBlock(int saveBlock) { return 83 + (saveBlock - 2) / 2; }
constexpr int TrapSpikeId(int group, int speed, int dir) { return 20 + 8 * (group - 1) + 4 * speed + dir; }
constexpr int SpikeTriggerId(int group, int speed, int dir) { return TrapSpikeId(group, speed, dir) + 76; }

// The 32 x 32 square of the id in the editor's 16 x 16 icon sheet.
constexpr int PartIconX(int id) { return 32 * (id % 16); }
constexpr int PartIconY(int id) { return 32 * (id / 16); }
