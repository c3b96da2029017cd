// A VTDB.DAT of any contents in the working folder.
#include "db/database_location.h"
#include "fuzz_file.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString folder = QFileInfo(WriteFuzzFile("VTDB.DAT", data, size)).path();
    DatabaseLocation(folder, folder);
    return 0;
}
