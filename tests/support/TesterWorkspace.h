#pragma once

#include <filesystem>
#include <string>

#include "TempFolder.h"

// A private place for a program and a simulated Tester to meet: `run/` (mode
// 0700) is XDG_RUNTIME_DIR, `work/` the working folder (log files). Everything
// goes, and the old working folder comes back, with the object.
class CTesterWorkspace {
  public:
    explicit CTesterWorkspace(const std::string& prefix = "q9-workspace");

    const std::filesystem::path& Root() const { return m_root.Path(); }
    std::filesystem::path RuntimeDir() const { return m_root / "run"; }
    std::filesystem::path WorkDir() const { return m_root / "work"; }

  private:
    CTempFolder m_root;
};
