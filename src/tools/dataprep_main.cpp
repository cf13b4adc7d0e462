// velmora-dataprep: derives the shipped data files from the game's extracted files.
#include <cstdio>

int main(int argc, char** argv) {
    (void)argv;
    std::fprintf(argc > 1 ? stderr : stdout,
                 "Aufruf: velmora-dataprep buildings|products|all --program-dir VERZEICHNIS "
                 "[--icon-source VERZEICHNIS]\n");
    return argc > 1 ? 2 : 0;
}
