#include "editor/preview/preview.h"

Window* Preview::GetPreview(int) const { return nullptr; }

bool Preview::SavePicture(const wchar_t*) { return false; }
