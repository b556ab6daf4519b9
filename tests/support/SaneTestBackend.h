#pragma once
// SANE's `test` backend as the scanner of a test program. SANE reads SANE_CONFIG_DIR once
// per process, so the folder is set up once; its files are rewritten by each call and
// reread by every SANE session of the program under test.

#include <QStringList>

// Offers one device, "test:0" (more with `number_of_devices n`), configured by the given test.conf
// lines (for example `mode Color`, `test-picture "Color pattern"`, `read-status-code
// "SANE_STATUS_IO_ERROR"`).
void useSaneTestBackend(const QStringList& testConfLines = {});

// Leaves SANE without any backend in its list: no device is offered. (A device name that
// names the backend still opens, since SANE loads a named backend on demand; to make a
// chosen device disappear, offer two devices, choose "test:1", then offer one. The test
// backend crashes when told to offer none.)
void removeSaneTestBackend();
