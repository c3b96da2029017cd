// A settings file of any contents, read key by key, all at once, and written back.
#include "common/profile_file.h"
#include "fuzz_file.h"
#include "settings/settings_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = WriteFuzzFile("postavke.dat", data, size);
    ReadSettings(ProfileFile::snapshot(path));
    ProfileFile file(path);
    file.readString(QStringLiteral("Obracun"), QStringLiteral("NocniOd"), QString());
    file.writeString(QStringLiteral("Obracun"), QStringLiteral("NocniOd"), QStringLiteral("22:00"));
    return 0;
}
