#pragma once

#include <QString>

// The version texts of the main window: its title and the version dialog.
namespace VersionInfo {

// The project version's major and minor digits, "09" for 0.9: the title is "ORVANTE_v09".
QString suffix();

// "20170111194503" for the date "Jan 11 2017" and the time "19:45:03" (the compiler's
// __DATE__ and __TIME__); empty if the date does not parse.
QString buildStamp(const char* date, const char* time);

// The version dialog: "version:" in the running language, " v", the suffix, "_" and the
// build stamp of this build.
QString dialogText();

} // namespace VersionInfo
