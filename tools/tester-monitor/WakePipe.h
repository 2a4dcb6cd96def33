#pragma once

// Wakes the monitor's main thread from the reader thread: Notify writes a
// byte to a non-blocking pipe (it never blocks, and a full pipe already means
// "wake up"), Wait sleeps on the other end and drains it.
class CWakePipe {
  public:
    CWakePipe();
    ~CWakePipe();
    CWakePipe(const CWakePipe&) = delete;
    CWakePipe& operator=(const CWakePipe&) = delete;

    bool IsOpen() const { return m_read >= 0; }
    void Notify() const;
    // True when woken, false when `timeoutMs` passed (or a signal came).
    bool Wait(int timeoutMs) const;

  private:
    int m_read = -1;
    int m_write = -1;
};
