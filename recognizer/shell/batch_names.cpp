#include "recognizer/shell/batch_names.h"

#include <cstring>

#include "platform/files.h"

char BatchFileNames[BatchNameCapacity][BatchNameBytes];
int BatchFileCount = 0;

int ListFilesToNameTable(const char* pattern) {
    BatchFileCount = 0;
    win::_finddata_t found{};
    const win::FindHandle search = win::_findfirst(pattern, &found);
    if (search == win::InvalidFindHandle) return 0;
    do {
        const std::size_t length = std::strlen(found.name);
        if (length < BatchNameBytes) {
            std::memcpy(BatchFileNames[BatchFileCount], found.name, length + 1);
            ++BatchFileCount;
        }
    } while (BatchFileCount < BatchNameCapacity && win::_findnext(search, &found) == 0);
    win::_findclose(search);
    return BatchFileCount;
}
