#include "SeparatorDialog.h"

SeparatorDialog::~SeparatorDialog() = default;
