// The browser thread: it starts the browser for a device's web page and reports when the
// browser had a moment to come up, so that the instance's LED turns amber.
#pragma once

// Starts the browser of its record, waits up to a second, posts pcBrowserOpened with the
// instance and returns 0. The argument is a THREADINFOSTRUCT, deleted here.
unsigned LaunchWebBrowserThread(void* record);
