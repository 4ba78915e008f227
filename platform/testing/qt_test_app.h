#pragma once

// Makes sure one QApplication exists for widget tests (gtest_main gives no main of ours).
// Safe to call from every test; the application lives until the process ends.
void EnsureQtApp();
