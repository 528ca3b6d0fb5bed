// The shipped schemes against the role table and the file manifest: every file a scheme names is
// installed into its role's library folder, and every file the manifest adds for the schemes is
// named by one.
#include "utility/cursor/shipped_schemes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "installer/file_manifest.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Extension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? "" : name.substr(dot);
}

// The manifest row that installs `destination`, or -1.
int RowOf(const std::string& destination) {
  for (int row = kFirstCursorRow; row < kManifestRows; ++row)
    if (destination == FileManifest[row].destinationName) return row;
  return -1;
}

TEST(ShippedSchemes, TheTwoTheProductPromises) {
  std::set<std::string> names;
  for (const ShippedScheme& scheme : kShippedSchemes) {
    ASSERT_NE(scheme.name, nullptr);
    EXPECT_TRUE(names.insert(Upper(scheme.name)).second) << "two schemes called " << scheme.name;
  }
  EXPECT_EQ(names, (std::set<std::string>{"POINTREL", "POINTREL HIGH VISIBILITY"}));
}

TEST(ShippedSchemes, EveryRoleIsAManifestFileInItsRolesFolder) {
  for (const ShippedScheme& scheme : kShippedSchemes) {
    std::set<std::string> files;
    for (size_t role = 0; role < kRoleCount; ++role) {
      const std::string what = std::string(scheme.name) + ", " + kCursorRoles[role].caption;
      ASSERT_NE(scheme.files[role], nullptr) << what << ": our schemes name every role";
      const std::string file = scheme.files[role];
      EXPECT_EQ(file.find_first_of("\\/:"), std::string::npos) << what << ": " << file << " is not a bare name";
      EXPECT_TRUE(Extension(file) == ".CUR" || Extension(file) == ".ANI") << what << ": " << file;
      EXPECT_TRUE(files.insert(Upper(file)).second) << what << ": " << file << " serves two roles";
      const int row = RowOf(kCursorRoles[role].folder + file);
      ASSERT_GE(row, 0) << what << ": no manifest row installs " << kCursorRoles[role].folder << file;
      EXPECT_EQ(Extension(FileManifest[row].sourceName), Extension(file)) << what << ": the medium's name";
    }
  }
}

TEST(ShippedSchemes, EveryFileAddedForThemIsNamedByOne) {
  for (int row = kFirstSchemeRow; row < kManifestRows; ++row) {
    const std::string destination = FileManifest[row].destinationName;
    int named = 0;
    for (const ShippedScheme& scheme : kShippedSchemes)
      for (size_t role = 0; role < kRoleCount; ++role)
        named += scheme.files[role] && destination == kCursorRoles[role].folder + std::string(scheme.files[role]);
    EXPECT_EQ(named, 1) << destination;
  }
}

}  // namespace
