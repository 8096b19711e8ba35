// Writes the crafted pictures into a folder, each under its name:
//     rsim-picture-corpus fuzz/corpus/fuzz_pictures

#include "CraftedPictures.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rsim-picture-corpus FOLDER\n");
        return 2;
    }
    for (const NamedPicture& picture : craftedPictures()) {
        const std::string path = std::string(argv[1]) + "/" + picture.name;
        std::ofstream out(path, std::ios::binary);
        out.write(picture.bytes.data(), static_cast<std::streamsize>(picture.bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "rsim-picture-corpus: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
