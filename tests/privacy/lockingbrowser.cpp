// A stand-in browser: it holds its places database exclusively, as a running browser does,
// until it is asked to quit, and takes a moment to end, as a browser writing its session does.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <sqlite3.h>
#include <thread>

int main(int argc, char** argv)
{
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGTERM);
    sigprocmask(SIG_BLOCK, &quit, nullptr);
    sqlite3* db = nullptr;
    if (argc != 2 || sqlite3_open(argv[1], &db) != SQLITE_OK ||
        sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; UPDATE moz_places SET value = value;",
                     nullptr, nullptr, nullptr) != SQLITE_OK)
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    int signal = 0;
    sigwait(&quit, &signal);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sqlite3_close(db);
    return 0;
}
