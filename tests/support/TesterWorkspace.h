#pragma once

#include <filesystem>
#include <string>

#include "TempFolder.h"

// A private place for a program and a simulated Tester to meet, as on a
// technician's laptop: `run/` (mode 0700) is XDG_RUNTIME_DIR, where the
// simulator registers and the program looks; `work/` is the working folder
// (log files). Everything goes, and the old working folder comes back, with
// the object. Child processes started meanwhile inherit the environment.
class CTesterWorkspace {
  public:
    explicit CTesterWorkspace(const std::string& prefix = "q9-workspace");

    const std::filesystem::path& Root() const { return m_root.Path(); }
    std::filesystem::path RuntimeDir() const { return m_root / "run"; }
    std::filesystem::path WorkDir() const { return m_root / "work"; }

  private:
    CTempFolder m_root;
};
