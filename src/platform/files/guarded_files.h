#pragma once
// The files no write may go over: what this run reads (the profile file, the
// input recording) and what it writes under another name (--state, the
// snapshot, ...). The program states them once at start; every write through
// the file guard (whole_file.h) is checked against them by identity, so a
// link or a second spelling of the name does not get round it.
//
// Process-wide and thread-safe.
#include <QString>

#include <optional>
#include <vector>

namespace platform::files {

struct GuardedFile {
    QString path;
    // The one write that may replace it ("--state" for the state file); empty
    // when nothing may (an input).
    QString owner;
    // What it is, for the message of a refused write: "the file this run reads
    // (--input-wav 'a.wav')", "nahrávka, kterou program čte (--input-wav)".
    QString english;
    QString czech;
};

// Replaces the set of guarded files.
void guardFiles(std::vector<GuardedFile> files);
std::vector<GuardedFile> guardedFiles();

// The guarded file that `path` would write over, for a write made by `owner`
// (its own file is not in its way). A guarded name that is neither a regular
// file nor missing (/dev/null as an input) cannot be lost and guards nothing.
std::optional<GuardedFile> guardedFileAt(const QString& path, const QString& owner = {});

}  // namespace platform::files
