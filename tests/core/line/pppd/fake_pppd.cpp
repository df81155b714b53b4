// Stands in for pppd in tst_pppdline. Appends to $FAKE_PPPD_RECORD how it was started (pid,
// arguments, environment) and the password it read from its passwordfd, prints the log of a
// scripted call as pppd with chat -v -s prints it, and ends with pppd's status; SIGTERM ends it
// like pppd (5). The entry's name picks the script: busy, scriptfail, peerhangup, ignoreterm
// (SIGTERM is logged and ignored), anything else connects. Without "call" it stands for the pppd
// of a link started elsewhere.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

extern char **environ;

namespace {

volatile sig_atomic_t g_terminated = 0;
volatile sig_atomic_t g_ignoreTerm = 0;
int g_record = -1;

void Record(const std::string &line)
{
    const std::string text = line + "\n";
    if (g_record >= 0 && write(g_record, text.data(), text.size()) < 0)
        std::perror("record");
}

void OnTerm(int)
{
    g_terminated = 1;
    if (g_ignoreTerm) {
        [[maybe_unused]] const ssize_t written = write(g_record, "term-ignored\n", 13);
    }
}

void Say(const std::vector<std::string> &lines)
{
    for (const std::string &line : lines)
        std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (const char *path = std::getenv("FAKE_PPPD_RECORD"))
        g_record = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    // SIGTERM waits (blocked) until the script reaches a point where pppd would take it.
    sigset_t term, unblocked;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    sigprocmask(SIG_BLOCK, &term, &unblocked);
    struct sigaction action = {};
    action.sa_handler = OnTerm;
    sigaction(SIGTERM, &action, nullptr);
    auto waitForTerm = [&unblocked] {
        while (!g_terminated || g_ignoreTerm)
            sigsuspend(&unblocked);
    };

    Record("pid " + std::to_string(getpid()));
    std::string scenario;
    for (int i = 1; i < argc; ++i) {
        Record(std::string("arg ") + argv[i]);
        if (i + 1 < argc && std::strcmp(argv[i], "call") == 0)
            scenario = argv[i + 1];
        if (i + 1 < argc && std::strcmp(argv[i], "passwordfd") == 0) {
            std::string password;
            char buffer[64];
            for (ssize_t n; (n = read(std::atoi(argv[i + 1]), buffer, sizeof buffer)) > 0;)
                password.append(buffer, n);
            Record("password " + password);
        }
    }
    for (char **env = environ; *env; ++env)
        Record(std::string("env ") + *env);

    Say({"pppd 2.4.9 started by tester, uid 1000", "abort on (BUSY)", "report (CONNECT)", "send (ATZ^M)", "OK",
         "send (ATDT0123^M)", "expect (CONNECT)"});
    if (scenario == "busy" || scenario == "scriptfail") {
        Say({scenario == "busy" ? "BUSY" : "alarm", scenario == "busy" ? "Failed (BUSY)" : "Failed",
             "Connect script failed"});
        return 8;
    }
    Say({"CONNECT", "chat:  Dec 06 20:01:08 CONNECT 33600/ARQ/V34", "Serial connection established.",
         "Using interface ppp0", "Connect: ppp0 <--> /dev/ttyS0", "PAP authentication succeeded",
         "local  IP address 10.1.2.3"});
    if (scenario == "peerhangup") {
        Say({"Modem hangup", "Connection terminated."});
        return 16;
    }
    g_ignoreTerm = scenario == "ignoreterm";
    waitForTerm();
    Say({"Terminating on signal 15", "Connection terminated."});
    return 5;
}
