#pragma once

#include <string>

// Keeps a second copy of the program from running: the running copy holds an
// exclusive lock on a file in the user's private runtime folder for as long as the
// process lives. Test and set are one step, and the kernel frees the lock when
// the process ends in any way, a crash included.
class CSingleInstance {
  public:
    // `name`: the lock file's name, e.g. "q9tester.lock".
    explicit CSingleInstance(std::string name);
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // True when this process is (now) the running copy; false when another
    // copy holds the lock. If the lock file cannot be used at all, the program
    // is let run and the reason goes to standard error.
    bool Claim();

  private:
    std::string m_name;
    int m_fd = -1;
    bool m_claimed = false;
};
