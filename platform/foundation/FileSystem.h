#pragma once

#include "platform/foundation/Value.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The folder where the client keeps its data (user defaults, databases,
// downloaded pictures). The application chooses it at start; until then it is
// $XDG_DATA_HOME/kavo-online, or ~/.local/share/kavo-online.
void setDataDirectory(const std::string& path);
// Created (mode 0700) on demand. Safe from any thread.
std::string dataDirectory();
// dataDirectory()/Documents, created on demand.
std::string documentsDirectory();
// dataDirectory()/Caches, created on demand: data the client can fetch again.
std::string cachesDirectory();

// Creates the folder and its parents; true when it exists afterwards.
bool createDirectories(const std::string& path, unsigned mode = 0700);
bool fileExists(const std::string& path);
bool removeFile(const std::string& path);
// a + "/" + b, without doubling the slash.
std::string joinPath(std::string_view a, std::string_view b);

// Writes the whole file or nothing: the bytes go to a new temporary file (mode
// 0600) in the same folder, locked (flock) until it is renamed over `path` or removed,
// and are flushed to the disk before the rename. On any failure the temporary file is removed, `path` keeps
// its old content, the failure is logged and false is returned. Every file the
// client writes goes through here.
bool writeFileAtomically(const std::string& path, const Bytes& bytes);
bool writeFileAtomically(const std::string& path, std::string_view bytes);
// The same for a file made as it is written: `produce` hands the bytes to the sink a piece
// at a time, so a large file never has to be in memory whole. The sink returns false once
// a write failed (what follows is dropped; `produce` may stop early).
using ChunkSink = std::function<bool(std::string_view)>;
bool writeFileAtomically(const std::string& path, const std::function<void(const ChunkSink&)>& produce);

// Removes the temporary files writeFileAtomically left in `folder` when a run ended in
// the middle of a write (a target's name, ".tmp" and the six letters or digits that made
// it unique); with `target`, only those of that file name. A file whose writer still
// holds its lock (another client writing to the same folder) stays, as do other files.
// Call it before this run writes there. Returns how many went.
size_t removeInterruptedWrites(const std::string& folder, std::string_view target = {});

// The whole file, or nullopt (logged) when it cannot be read. A missing file is
// not logged: callers ask for files that may not exist yet.
std::optional<Bytes> readFile(const std::string& path);
std::optional<std::string> readTextFile(const std::string& path);

} // namespace platform
