#include "platform/file_system.h"

namespace {
FileSystem* g_fileSystem = nullptr;
}  // namespace

FileSystem& CurrentFileSystem() { return g_fileSystem ? *g_fileSystem : SystemFileSystem(); }

void SetFileSystem(FileSystem* fileSystem) { g_fileSystem = fileSystem; }
