// Stands in for an emulator or a music player: writes the arguments it was started with, each
// followed by a NUL byte, to the file named by KIVO_ARGDUMP_OUT. The file appears complete or
// not at all, so a test can wait for it.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char *argv[])
{
    const char *out = std::getenv("KIVO_ARGDUMP_OUT");
    if (out == nullptr)
        return 2;
    const std::string partial = std::string(out) + ".part";
    {
        std::ofstream file(partial, std::ios::binary);
        for (int i = 1; i < argc; ++i)
            file << argv[i] << '\0';
        if (!file)
            return 1;
    }
    return std::rename(partial.c_str(), out) == 0 ? 0 : 1;
}
