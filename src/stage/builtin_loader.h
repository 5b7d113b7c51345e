// The built-in stage loader: an FMF map and a stage text file per stage, read through the data files.
#pragma once

extern const char StageLoadFailedMessage[];  // "ステージの読み込みに失敗しました。"
extern const char NoStartPointMessage[];     // "主人公が配置されていませんでした。"
extern const char NoGoalMessage[];           // "ゴールの旗が配置されていませんでした。"

// Loads built-in stage n (1..30) into StageMap and SignboardText and scans it, as a fresh start, or as the
// restart from the last save when Play.PlayPhase is 2. A stage that cannot be played ends the program.
void LoadBuiltinStage(int n);

// The archive names of stage n's files: "data\\map\\stageNN.fmf" and "data\\map\\stageNN.txt".
void BuiltinStageFileNames(int n, char fmf[32], char text[32]);

// The headless runner plays plain files under the built-in rules: while StageFmfOverride is set, the loader
// reads it (and StageTextOverride, which may be null: no signboard texts) instead of stage n's files.
extern const char* StageFmfOverride;
extern const char* StageTextOverride;
