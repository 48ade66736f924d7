// The command language as every window names it: the results of running a
// line, the internal commands by number, and the system-menu entries that
// run them.
#pragma once

#include <string>

#include "config/settings.h"

namespace kestrum {

// Results of running a line.
enum RunResult : int { rrFailed = 0, rrInternal = 1, rrStarted = 2, rrWindow = 3 };

// Command numbers (index in the command table).
enum CommandNo : int {
    cmdCD = 0, cmdLS, cmdEXIT, cmdPVIEW, cmdTVIEW, cmdMASK, cmdLVIEW, cmdLAUTO, cmdCHWP, cmdCP, cmdBP, cmdMV,
    cmdRM, cmdREN, cmdDISH, cmdDLHA, cmdDTAR, cmdLSHELP, cmdEDIT, cmdVIEW, cmdCFGLOAD, cmdSETEXT, cmdUNSETEXT,
    cmdALIAS, cmdUNALIAS, cmdDELETE, cmdMREN, cmdMKDIR, cmdDIR, cmdCLOSE, cmdMENU, cmdVER, cmdDROP, cmdLZH2EXE,
    cmdREMOVEDIR, cmdSPLIT, cmdCOMBINE, cmdDROP2, cmdWAIT, cmdEJECT, cmdSLEEP, cmdSHEXE,
};

// Name of internal command n in a command table: the table's entry, else
// the default name (empty outside the table).
const std::string& CommandNameIn(const SettingsLists& lists, int n);

// System-command ids of the entries added to the system menus.
enum : unsigned { kSysMain = 256, kSysFiler = 512, kSysImage = 768, kSysText = 1024 };

}  // namespace kestrum
