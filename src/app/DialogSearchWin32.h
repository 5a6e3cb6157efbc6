// The start of a search's worker, apart from the settings that StartFindQelDevThread saves
// and the folders it locates first.
#pragma once

class CtarnwickDlg;

// Marks the search running, starts the worker on the dialog's current state and disables
// the close-adapter button. False (with an error box) when the thread cannot be started.
bool StartSearchWorker(CtarnwickDlg& dialog);
