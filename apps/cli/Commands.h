// The `mycad` command: inspect, render and convert drawings without a window.
//
//   mycad info FILE [--json]
//   mycad render FILE OUT [--width W] [--height H] [--no-background] [--quality Q]
//   mycad preview FILE OUT [--zoom Z] [--layers ID,ID] [--max-size WxH]
//   mycad print FILE OUT.pdf [--zoom Z] [--layers ID,ID]
//   mycad convert IN OUT [--text-outlines]   (OUT.dxf: a DXF file)
//
// Exit status 0 on success; 1 when a file is missing, is no drawing, cannot
// be read or the result cannot be written (with one line on the error
// stream); 2 for a usage error. `--help` works on every command.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace mycad::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsage = 2;

/// Runs one command line (without the program's name). Needs a running
/// QApplication (the canvas is a widget, never shown).
int RunMyCad(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace mycad::cli
