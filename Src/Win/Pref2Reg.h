// Keeps the preferences record as one binary value in the current user's registry hive.
#pragma once

#include "Preferences.h"

class CRegistryPreferencesStore : public CPreferencesStore {
public:
    bool Write(const uint8_t (&record)[kPrefsRecordSize]) override;
    bool Read(uint8_t (&record)[kPrefsRecordSize]) override;
};
