#pragma once

namespace zul {

// The command ids of the menu, the toolbar and the accelerators.
enum Command : int {
  CmdApplyFilter = 32771,
  CmdAddFiles = 32772,
  CmdEditFilter = 32773,
  CmdHelp = 32775,
  CmdAddFolder = 32780,
  CmdSettings = 32783,
  CmdNextConflict = 32784,
  CmdFileOpen = 57601,
  CmdFileSave = 57603,
  CmdFileSaveAs = 57604,
  CmdUndo = 57643,
  CmdAbout = 57664,
  CmdExit = 57665,
  CmdViewToolBar = 59392,
  CmdViewStatusBar = 59393,
};

}  // namespace zul
