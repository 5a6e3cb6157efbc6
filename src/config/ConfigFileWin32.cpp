// The configuration file "qel-configuration.txt" and the file-system folder lookup.
#include "app/CtarnwickDlgWin32.h"

void CtarnwickDlg::ReadQelConfigurationFile() {}

int CtarnwickDlg::CreateDefaultQelConfigurationFile() { return 0; }

void CtarnwickDlg::GetField(int, const char*) {}

int CtarnwickDlg::UpdateQelConfigurationFile(const std::wstring&) { return 0; }

void CtarnwickDlg::GetFileSystemFolderPath() {}
