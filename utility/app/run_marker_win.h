// A run that ends without putting the cursors back (killed together with its guard, the power
// lost) leaves its marker file beside the settings. The next start sees it and has the platform
// reload the user's own scheme before anything is kept as the "defaults", so the copies kept for
// the ending are never Pointrel's own cursors. A marker left by a run that did restore (killed
// after its ending) costs one reload of the scheme that is already there.
#pragma once

// Called once at start, after the settings file's place is known and before the first cursor
// is touched: true when the last run left its marker. The marker is then written for this run;
// where the settings have no folder of their own nothing is written and false comes back.
bool BeginRunMarker(const char* settingsFile);
// This run's cursors are back: the marker goes.
void EndRunMarker();
