#pragma once
// Where the suite's Windows paths live on this system.
//
// The install ini "C:\SuiteInst.ini" is looked up in this order:
//   1. the file named by the environment variable SUITE_INST_INI;
//   2. $XDG_CONFIG_HOME/suite/SuiteInst.ini (default ~/.config/suite/SuiteInst.ini);
//   3. /etc/suite/SuiteInst.ini.
// Any other path with a drive letter ("D:\Dati\ditta.mdb") maps the drive to the folder named
// by the environment variable SUITE_DRIVE_<letter> (default "/") and its backslashes to
// slashes: with SUITE_DRIVE_D=/srv/dati it is /srv/dati/Dati/ditta.mdb.
#include <QString>

inline constexpr const char *kInstallIniWindowsPath = "C:\\SuiteInst.ini";

// The Linux file that stands for the install ini (the first candidate that exists; the last
// candidate when none does).
QString installIniPath();

// A Windows path turned into a path of this system; other paths only get "/" for "\".
QString mapWindowsPath(const QString &path);
