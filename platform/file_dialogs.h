// What Load ... and Save as ... ask of the common file dialogs, for code that
// sees no Windows header; platform_win32.cpp checks the flags against the
// system's own.
#pragma once

#include <cstdint>

// Pairs of text and pattern, the list ended by an empty one.
inline constexpr char kConfigFileFilter[] = "cfg files \0*.CFG\0all files \0*.*\0";

constexpr uint32_t kDialogFileMustExist = 0x00001000;  // OFN_FILEMUSTEXIST
constexpr uint32_t kDialogExplorer = 0x00080000;       // OFN_EXPLORER

// Load ... offers only files that exist; Save as ... any name.
constexpr uint32_t kOpenDialogFlags = kDialogExplorer | kDialogFileMustExist;
constexpr uint32_t kSaveDialogFlags = kDialogExplorer;

// The common file dialogs over a kPathSize buffer; true when the user
// confirmed a name, which then stands in path (a name too long for the buffer
// counts as a failed dialog).
bool PlatformGetOpenFileName(char* path);
bool PlatformGetSaveFileName(char* path);
