// The start of a search's worker, apart from the settings that StartFindQelDevThread saves
// and the folders it locates first.
#pragma once

class CtarnwickDlg;

// Marks the search running, starts the worker on the instances from firstInstance up to
// (not including) endInstance, and disables the close-adapter button. False (with an error
// box) when the thread cannot be started.
bool StartSearchWorker(CtarnwickDlg& dialog, int firstInstance, int endInstance);
// A search as the button starts it: from currentInstance on.
bool StartSearchWorker(CtarnwickDlg& dialog);
