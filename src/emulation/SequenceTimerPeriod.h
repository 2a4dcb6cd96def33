#pragma once

// The sequence timer's period in milliseconds for a time between messages in
// seconds: truncated to whole milliseconds, then kept between 10 ms (a shorter
// period would flood the event loop) and 2^31 - 1 ms (the longest a timer
// takes); a value that is not a number gives the shortest period.
int SequenceTimerPeriodMs(double timeBetweenMessages);
