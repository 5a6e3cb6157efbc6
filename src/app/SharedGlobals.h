// File-scope state of the dialog that more than one subsystem reads: the instance row of
// the last double-click and the layout's scale. The search's shared state lives with the
// search (supervision/SearchState.h).
#pragma once

// --- instance table editing ---
extern int selectedListItem_g;

// --- layout ---
extern double dlgScaleFactor_g;
extern double dlgScaleFactorMax_g;
extern int globalWindowRedraw_g;
