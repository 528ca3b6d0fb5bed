// The settings store's seam, served by the application object's profile calls.
#pragma once
#include "platform/app.h"
#include "utility/records/cursor_settings.h"

class AppProfileStore : public ProfileStore {
 public:
  explicit AppProfileStore(CWinApp& app) : app(app) {}
  void GetProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                        int size) override {
    app.GetProfileString(section, key, fallback, buffer, size);
  }
  int32_t GetProfileInt(const char* section, const char* key, int32_t fallback) override {
    return static_cast<int32_t>(app.GetProfileInt(section, key, fallback));
  }
  bool WriteProfileString(const char* section, const char* key, const char* value) override {
    return app.WriteProfileString(section, key, value) != FALSE;
  }
  bool WriteProfileInt(const char* section, const char* key, int32_t value) override {
    return app.WriteProfileInt(section, key, value) != FALSE;
  }

 private:
  CWinApp& app;
};
