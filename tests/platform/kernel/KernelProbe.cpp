// kernel-probe report <file>   writes its working directory and arguments, one per line
// kernel-probe mutex <name>    takes the named mutex, prints "held" or "exists", then waits
// kernel-probe wait            waits until killed
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "Win32.h"

int main(int argc, char** argv) {
  if (argc >= 3 && strcmp(argv[1], "report") == 0) {
    char cwd[4096];
    std::ofstream out(std::string(argv[2]) + ".tmp");
    out << (getcwd(cwd, sizeof cwd) ? cwd : "?") << "\n";
    for (int i = 3; i < argc; ++i) out << argv[i] << "\n";
    out.close();
    std::rename((std::string(argv[2]) + ".tmp").c_str(), argv[2]);
    return 0;
  }
  if (argc >= 3 && strcmp(argv[1], "mutex") == 0) {
    std::wstring name(argv[2], argv[2] + strlen(argv[2]));
    HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
    printf("%s\n", mutex && GetLastError() == ERROR_ALREADY_EXISTS ? "exists" : "held");
    fflush(stdout);
  }
  for (;;) pause();
}
