#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry/registry_access.h"
#include "platform/registry/registry_store.h"
#include "support/temp_app_folder.h"

using namespace registry;

namespace {
const char* const kKey = "Software\\Q_ZOLT\\";
}  // namespace

TEST(RegistryTest, AValueNeverWrittenReadsEmpty) {
  testsupport::TempAppFolder folder;
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "TUT"), "");
  EXPECT_FALSE(std::filesystem::exists(folder.File("registry.ini")));  // reading creates nothing
  SaveRegSetting(lngRegRoot, kKey, "Other", "x");
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "TUT"), "");
}

TEST(RegistryTest, SavedValuesReadBackAndReplaceEarlierOnes) {
  testsupport::TempAppFolder folder;
  SaveRegSetting(lngRegRoot, kKey, "TUT", "1");
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "TUT"), "1");
  SaveRegSetting(lngRegRoot, kKey, "TUT", "0");
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "TUT"), "0");
  // Key paths and value names match in any case and with or without the separators' extras.
  EXPECT_EQ(GetRegSetting(lngRegRoot, "software\\q_zolt", "tut"), "0");
  EXPECT_EQ(GetRegSetting(lngRegRoot, "\\Software\\\\Q_ZOLT", "TUT"), "0");
  // Other roots and keys are separate.
  EXPECT_EQ(GetRegSetting(HKEY_CURRENT_USER, kKey, "TUT"), "");
  EXPECT_EQ(GetRegSetting(lngRegRoot, "Software\\Other", "TUT"), "");
  EXPECT_NE(
      testsupport::ReadFileBytes(folder.File("registry.ini")).find("[HKEY_LOCAL_MACHINE\\Software\\Q_ZOLT]\nTUT=0\n"),
      std::string::npos);
}

TEST(RegistryTest, AwkwardTextsRoundTrip) {
  testsupport::TempAppFolder folder;
  const std::string texts[] = {"a=b=c", "line one\r\nline two\n", "Zürich €", "100%", "%3D", "[section]", " padded ",
                               ""};
  int n = 0;
  for (const std::string& text : texts) SaveRegSetting(lngRegRoot, kKey, "value" + std::to_string(n++), text);
  SaveRegSetting(lngRegRoot, kKey, "name=with\nodd [chars]", "ok");
  SaveRegSetting(lngRegRoot, "Software\\Kéy]\n[x", "v", "nested");
  n = 0;
  for (const std::string& text : texts) EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "value" + std::to_string(n++)), text);
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "name=with\nodd [chars]"), "ok");
  EXPECT_EQ(GetRegSetting(lngRegRoot, "Software\\Kéy]\n[x", "v"), "nested");
}

TEST(RegistryTest, TextIsCutAtItsFirstNul) {
  testsupport::TempAppFolder folder;
  SaveRegSetting(lngRegRoot, kKey, "TUT", std::string("1\0garbage", 9));
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "TUT"), "1");
}

TEST(RegistryTest, CreateMakesTheWholePathOpenNeedsAnExistingKey) {
  testsupport::TempAppFolder folder;
  EXPECT_EQ(OpenRegKey(lngRegRoot, kKey), 0);
  int32_t created = CreateRegKey(lngRegRoot, "Software\\Q_ZOLT\\Deep\\Er");
  ASSERT_NE(created, 0);
  int32_t again = CreateRegKey(lngRegRoot, "Software\\Q_ZOLT\\Deep\\Er");
  EXPECT_NE(again, 0);
  EXPECT_NE(again, created);
  int32_t parent = OpenRegKey(lngRegRoot, kKey);
  EXPECT_NE(parent, 0);
  EXPECT_EQ(OpenRegKey(lngRegRoot, "Software\\Q_Z"), 0);  // a prefix of a name is no key

  SetRegValue(created, "V", "deep");
  EXPECT_EQ(QueryRegValue(again, "V"), "deep");
  EXPECT_EQ(QueryRegValue(parent, "V"), "");
  for (int32_t key : {created, again, parent}) CloseRegKey(key);
  EXPECT_EQ(QueryRegValue(created, "V"), "");  // a closed handle reads nothing
  SetRegValue(created, "V", "lost");
  EXPECT_EQ(GetRegSetting(lngRegRoot, "Software\\Q_ZOLT\\Deep\\Er", "V"), "deep");
}

TEST(RegistryTest, BadHandlesAndRootsFailSilently) {
  testsupport::TempAppFolder folder;
  EXPECT_EQ(CreateRegKey(12345, kKey), 0);
  EXPECT_EQ(OpenRegKey(12345, kKey), 0);
  SetRegValue(0, "TUT", "1");
  EXPECT_EQ(QueryRegValue(0, "TUT"), "");
  CloseRegKey(0);
  SaveRegSetting(12345, kKey, "TUT", "1");
  EXPECT_FALSE(std::filesystem::exists(folder.File("registry.ini")));
}

TEST(RegistryTest, AnUnreadableStoreReadsEmptyAndIsNotOverwritten) {
  testsupport::TempAppFolder folder;
  std::filesystem::create_directory(folder.File("registry.ini"));  // cannot be read as a file
  SaveRegSetting(lngRegRoot, kKey, "TUT", "1");
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "TUT"), "");
  EXPECT_EQ(CreateRegKey(lngRegRoot, kKey), 0);
  EXPECT_TRUE(std::filesystem::is_directory(folder.File("registry.ini")));
}

TEST(RegistryTest, AnUnwritableStoreWritesNothing) {
  testsupport::TempAppFolder folder;
  std::filesystem::path missing = folder.File("gone");
  ::setenv("KESTROVANE_HOME", missing.c_str(), 1);  // a folder that does not exist
  EXPECT_EQ(CreateRegKey(lngRegRoot, kKey), 0);
  SaveRegSetting(lngRegRoot, kKey, "TUT", "1");
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "TUT"), "");
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(RegistryStoreTest, ReadsHandWrittenFilesWithCrLfAndStrayLines) {
  testsupport::TempAppFolder folder;
  testsupport::WriteFileBytes(folder.File("registry.ini"),
                              "stray line\r\norphan=1\r\n[HKEY_LOCAL_MACHINE\\Software\\Q_ZOLT]\r\nTUT=1\r\n"
                              "no equals sign\r\nPct=50%\r\n");
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "TUT"), "1");
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "Pct"), "50%");
  EXPECT_EQ(GetRegSetting(lngRegRoot, kKey, "orphan"), "");
  EXPECT_EQ(UnescapeRegistryText(EscapeRegistryText(std::string("a%b=c\r\n\0", 9))), std::string("a%b=c\r\n\0", 9));
}

TEST(RegistryTest, QueryRegValueExTellsTextsFromDwordsAndMissingValues) {
  testsupport::TempAppFolder folder;
  testsupport::WriteFileBytes(folder.File("registry.ini"),
                              "[HKEY_LOCAL_MACHINE\\Tools]\nText=/usr/bin/tool\nNumber=dword:0000001a\n"
                              "Wide=DWORD:01020304\nShort=dword:1a\nEmpty=\n");
  int32_t key = OpenRegKey(HKEY_LOCAL_MACHINE, "Tools");
  ASSERT_NE(key, 0);
  int32_t type = 0;
  std::string data;
  ASSERT_TRUE(QueryRegValueEx(key, "Text", type, data));
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(data, "/usr/bin/tool");
  ASSERT_TRUE(QueryRegValueEx(key, "Number", type, data));
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(data, std::string("\x1a\0\0\0", 4));
  ASSERT_TRUE(QueryRegValueEx(key, "Wide", type, data));
  EXPECT_EQ(data, std::string("\x04\x03\x02\x01", 4));
  ASSERT_TRUE(QueryRegValueEx(key, "Short", type, data));  // not the dword form: a text
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(data, "dword:1a");
  ASSERT_TRUE(QueryRegValueEx(key, "Empty", type, data));  // present, though empty
  EXPECT_EQ(data, "");
  EXPECT_FALSE(QueryRegValueEx(key, "Missing", type, data));
  CloseRegKey(key);
  EXPECT_FALSE(QueryRegValueEx(key, "Text", type, data));  // closed handle
}

TEST(RegistryTest, TwoProcessesWritingAtOnceKeepEveryValue) {
  testsupport::TempAppFolder folder;
  testsupport::WriteFileBytes(folder.File("registry.ini.Kx04rB"), "[HKEY");  // a writer killed before its rename
  constexpr int kValuesEach = 200;
  pid_t children[2];
  for (int child = 0; child < 2; ++child) {
    children[child] = ::fork();
    ASSERT_GE(children[child], 0);
    if (children[child] == 0) {
      for (int n = 0; n < kValuesEach; ++n)
        SaveRegSetting(lngRegRoot, kKey, "p" + std::to_string(child) + "v" + std::to_string(n), std::to_string(n));
      ::_exit(0);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  int kept = 0;
  for (int child = 0; child < 2; ++child)
    for (int n = 0; n < kValuesEach; ++n)
      kept +=
          GetRegSetting(lngRegRoot, kKey, "p" + std::to_string(child) + "v" + std::to_string(n)) == std::to_string(n);
  EXPECT_EQ(kept, 2 * kValuesEach);
  std::vector<std::string> leftovers;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    if (entry.path().filename().string().rfind("registry.ini.", 0) == 0 && entry.path().extension() != ".lock")
      leftovers.push_back(entry.path().filename().string());
  EXPECT_EQ(leftovers, std::vector<std::string>{});  // no temporary file is left behind, nor kept
}
