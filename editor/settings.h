// The settings file vork.ini in the current directory: the sections and keys
// the editor reads and writes.
#pragma once

#include <string>

// The settings file: the current directory's "vork.ini", matched without
// regard to case (the name itself when no such file exists).
std::string SettingsPath();

// Writes start + "/" + subdir + "/" as the value of key when the file holds
// exactly "None" there; any other value, missing included, stays.
// subdir uses '/' ("Advance/Par").
void FillDefaultDirectory(const std::string& section, const std::string& key,
                          const std::string& subdir, const std::string& path);

// [Private] Mode is exactly "Advance".
int ReadAdvanceMode(const std::string& path);

// A [Directory] value (Vrd, Data, Par, C, F, Vrk) with '\' read as '/'; "" when missing.
std::string ReadDirectorySetting(const std::string& path, const std::string& key);

// [Compiler] Type (missing = 0), C_Command, F_Command.
int ReadCompilerType(const std::string& path);
std::string ReadCompilerCommand(const std::string& path, int language);  // 0 = C_Command, else F_Command
// Replaces the [Compiler] section by "Type=0" or "Type=1" (type != 0), then
// writes C_Command and F_Command. False when the file cannot be written.
bool WriteCompilerSettings(const std::string& path, int type, const std::string& cCommand,
                           const std::string& fCommand);
