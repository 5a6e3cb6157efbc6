// The program-control message: the one channel by which threads and mouse handling hand
// work to the dialog's window thread. Always posted, never sent.
#pragma once

constexpr unsigned programControlMessage = 0x0400 + 0x101;  // WM_USER + 0x101

// Codes (first parameter) and their arguments (second parameter).
constexpr unsigned pcHintRequest = 0;      // argument: control id under the mouse
constexpr unsigned pcBrowserOpened = 10;   // argument: instance index
constexpr unsigned pcSearchLed = 20;       // argument: see below
constexpr unsigned pcPipeFailed = 60;      // argument: instance index
constexpr unsigned pcCreateFailed = 70;    // argument: instance index
constexpr unsigned pcBackendExited = 80;   // argument: instance index (a watched backend ended)
constexpr unsigned pcInstanceBase = 100;   // 100 + instance index, argument: see below
constexpr unsigned pcStartUp = 200;        // argument 0
constexpr unsigned pcUnattendedSearch = 210;  // argument 0: /search, from this copy or another

// Arguments of pcSearchLed.
constexpr long pcSearchLedGreen = 0;
constexpr long pcSearchLedBlink = 10;
constexpr long pcInstanceLedBlinkBase = 20;  // 20 + instance index
constexpr long pcSearchEnded = 255;

// Arguments of pcInstanceBase + i.
constexpr long pcStartRequest = 0;
constexpr long pcInstanceFailed = 2;
constexpr long pcInstanceStarted = 3;
