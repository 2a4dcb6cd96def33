#pragma once

// The Tester's reply lines. Formats are applied with sscanf to the whole stored
// line; their trailing "\r\n" matches any white space, so a reply is accepted
// with or without its CR LF. The exact replies are compared byte for byte.

inline constexpr char kReplyNothingPrefix[] = "#no "; // compared over its four bytes

inline constexpr char kFormatTransponder[] = "#t,%d,%d,%d,%d\r\n";
inline constexpr char kFormatQ9Transponder[] = "#c,%d,%d\r\n";
inline constexpr char kFormatBeacon[] = "#b,%d,%d,%d,%d\r\n";
inline constexpr char kFormatMindletTransponder[] = "#x,%u,%*c%*c-%*d,%d,%d\r\n";
inline constexpr char kFormatDiagnostics[] = "#l,%d,%d,%d,%d,%d,%d,%d,%d,%d\r\n";
inline constexpr char kFormatLoopLevel[] = "#n,%d\r\n";
inline constexpr char kFormatVersion[] = "#v,%d.%d\r\n";
inline constexpr char kFormatCanReceived[] = "#rx,%d,%x,%x,%x,%x,%x,%x,%x,%x,%x,%x,%x\r\n";
inline constexpr char kFormatSpecialDevice[] = "#s,%u,%*c%*c%*c%*c-%*d,%u,%u,%u,%u,%*s\r\n";

// How many stored conversions make each format accepted.
inline constexpr int kFieldsTransponder = 4;
inline constexpr int kFieldsQ9Transponder = 2;
inline constexpr int kFieldsBeacon = 4;
inline constexpr int kFieldsMindletTransponder = 3;
inline constexpr int kFieldsDiagnostics = 9;
inline constexpr int kFieldsLoopLevel = 1;
inline constexpr int kFieldsVersion = 2;
inline constexpr int kFieldsCanReceived = 4;
inline constexpr int kFieldsSpecialDevice = 5;

inline constexpr char kReplyTxDone[] = "#tx done\r\n";
inline constexpr char kReplyMsgDone[] = "#msg done\r\n";
inline constexpr char kReplyInvalidParameter[] = "#invalid parameter\r\n";
inline constexpr char kReplyStartListening[] = "#start listening special\r\n";
inline constexpr char kReplyStopListening[] = "#stop listening special\r\n";
inline constexpr char kReplyNoSpecial[] = "#no special\r\n";
