#include "profiles/profiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <numeric>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "core/program_folder.h"
#include "profiles/game_settings.h"
#include "server/processor_affinity.h"
#include "support/fake_clock.h"
#include "support/fake_dialogs.h"
#include "support/fake_processes.h"
#include "support/temp_folder.h"

namespace zembrock {
namespace {

namespace fs = std::filesystem;
using test::FakeClock;
using test::FakeDialogs;
using test::FakeEventPump;
using test::FakeProcesses;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;
using Texts = std::vector<std::string>;

constexpr const char* kStamp = "2024-05-06 07:08:09";
const Texts kBetaLines = {"mp_plaza2,DOM_default,100", "mp_seatown,SD_default,1"};

// Sets the program's folder for the life of a test and puts the old one back.
class ProgramFolderScope {
public:
    explicit ProgramFolderScope(const fs::path& folder) : m_saved(ProgramFolder()) {
        SetProgramFolder(folder);
    }
    ~ProgramFolderScope() { SetProgramFolder(m_saved); }
    ProgramFolderScope(const ProgramFolderScope&) = delete;
    ProgramFolderScope& operator=(const ProgramFolderScope&) = delete;
    ProgramFolderScope(ProgramFolderScope&&) = delete;
    ProgramFolderScope& operator=(ProgramFolderScope&&) = delete;

private:
    fs::path m_saved;
};

// Everything a profile fills, as start-up leaves it before the first profile is loaded: a
// program folder with two map lists and two configuration files, three network interfaces and
// an eight-processor machine.
struct Rig {
    Rig() {
        fs::create_directories(folder / "players2");
        WriteFile(folder / "players2" / "alpha.dspl", "mp_dome,TDM_default,1\r\n");
        WriteFile(folder / "players2" / "beta.dspl",
                  "mp_plaza2,DOM_default,100\r\nmp_seatown,SD_default,1\r\n");
        mapLists.RefreshMapListFiles();
        fields.serverVisibility.Fill({"LAN", "Internet"});
        fields.configFiles.Fill({"server.cfg", "server_tdm.cfg"});
        fields.configFiles.SelectIndex(0);
        fields.networkInterface.Fill({"10.0.0.5", "192.168.1.2", kAnyInterfaceLabel});
        FillCoreLists(fields.consoleCores, fields.programCores, processes);
    }

    TempFolder folder;
    ProgramFolderScope programFolder{folder.Path()};
    FakeDialogs dialogs;
    FakeClock clock;
    FakeEventPump pump;
    FakeProcesses processes{0xFF};
    ProfileFields fields;
    MapListEditor mapLists{folder.Path()};
    EventLog log{folder / kSystemLogFileName, clock, pump, [] { return std::string(kStamp); }};
    ServerSession session;
    ConsoleColours colours;
    Profiles profiles{ProfileModels{fields, mapLists, log, session, colours},
                      ProfilePorts{dialogs, clock, pump, processes}};
};

std::vector<bool> Ticks(std::initializer_list<std::size_t> positions, std::size_t count) {
    std::vector<bool> ticks(count, false);
    for (const std::size_t p : positions) {
        ticks.at(p) = true;
    }
    return ticks;
}

// Every file under the folder, as paths relative to it.
std::set<std::string> Tree(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.insert(fs::relative(entry.path(), folder).generic_string());
    }
    return names;
}

class ProfilesTest : public ::testing::Test {
protected:
    fs::path ProfileFile(const std::string& name) const { return m_rig.folder / (name + kProfileExtension); }
    void WriteProfile(const std::string& name, const std::string& text) const {
        WriteFile(ProfileFile(name), text);
    }
    fs::path GameSettingsFile() const { return m_rig.folder / kGameSettingsFileName; }

    Texts LogTexts(std::size_t from = 0) const {
        Texts texts;
        const std::vector<LogEntry>& entries = m_rig.log.Entries();
        for (std::size_t i = from; i < entries.size(); ++i) {
            texts.push_back(entries[i].text);
        }
        return texts;
    }
    bool Logged(const std::string& text) const {
        const Texts texts = LogTexts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    const LogEntry& LastEntry() const { return m_rig.log.Entries().back(); }

    // Every field away from its default, so that a load that leaves a field alone shows.
    void Scribble() {
        ProfileFields& f = m_rig.fields;
        f.networkInterface.SelectIndex(2);
        f.hostName = "scribbled";
        f.serverPort = "1";
        f.gamePort = "2";
        f.masterPort = "3";
        f.authenticationPort = "4";
        f.serverVisibility.SelectIndex(0);
        f.privateClients = "5";
        f.maxClients = "6";
        f.rconPassword = "pw";
        f.privatePassword = "pp";
        f.maxPing = "7";
        f.configFiles.SelectIndex(1);
        m_rig.mapLists.SelectMapList(std::string_view("beta.dspl"));
        f.voiceChat = "1";
        f.voting = "0";
        f.deadChat = "1";
        f.inactivity = "8";
        f.kickTime = "9";
        f.autostartMessages = false;
        f.startHidden = false;
        f.logMins = "11";
        f.logStatus = true;
        m_rig.log.SetLimitText("999");
        f.respondTries = "3";
        m_rig.session.respondTries = 3;
        f.consoleCores.SelectAll();
        f.programCores.SelectAll();
        // The program itself runs on processors 0 and 2: that is what its list shows after a load.
        m_rig.processes.affinities[FakeProcesses::kOwnId] = 0x5;
        f.tempBanTime = "12";
        m_rig.colours.background = 1;
        m_rig.colours.font = 2;
        f.commandHistory = {"status"};
        m_rig.log.SetFileLogging(true);
    }

    Rig m_rig;
};

// --- Loading ---------------------------------------------------------------------------------

std::string CheckText(bool on) {
    return on ? "1" : "0";
}

std::string Joined(const Texts& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += text + "|";
    }
    return joined;
}

struct FieldValue {
    const char* key;
    std::function<std::string(const Rig&)> read;
    std::string expected;
};

// What every field shows after loading a profile without keys (after Scribble).
const std::vector<FieldValue>& Defaults() {
    static const std::vector<FieldValue> defaults = {
        {"NetworkInterface", [](const Rig& r) { return r.fields.networkInterface.Text(); }, "10.0.0.5"},
        {"HostName", [](const Rig& r) { return r.fields.hostName; }, "My Server Name"},
        {"ServerPort", [](const Rig& r) { return r.fields.serverPort; }, "27016"},
        {"GamePort", [](const Rig& r) { return r.fields.gamePort; }, "27014"},
        {"MasterPort", [](const Rig& r) { return r.fields.masterPort; }, "27017"},
        {"AuthenticationPort", [](const Rig& r) { return r.fields.authenticationPort; }, "8766"},
        {"ServerVisibility", [](const Rig& r) { return r.fields.serverVisibility.Text(); }, "Internet"},
        {"PrivateClients", [](const Rig& r) { return r.fields.privateClients; }, "0"},
        {"MaxClients", [](const Rig& r) { return r.fields.maxClients; }, "18"},
        {"RCONPassword", [](const Rig& r) { return r.fields.rconPassword; }, ""},
        {"PrivatePassword", [](const Rig& r) { return r.fields.privatePassword; }, "lumbert"},
        {"MaxPing", [](const Rig& r) { return r.fields.maxPing; }, "700"},
        // The entry selected when the load began.
        {"ServerConfigFile", [](const Rig& r) { return r.fields.configFiles.Text(); }, "server_tdm.cfg"},
        {"LastSelectedMapList", [](const Rig& r) { return r.mapLists.SelectedFileName(); }, "beta.dspl"},
        {"VoiceChat", [](const Rig& r) { return r.fields.voiceChat; }, "0"},
        {"Voting", [](const Rig& r) { return r.fields.voting; }, "1"},
        {"DeadChat", [](const Rig& r) { return r.fields.deadChat; }, "0"},
        {"Inactivity", [](const Rig& r) { return r.fields.inactivity; }, "90"},
        {"KickTime", [](const Rig& r) { return r.fields.kickTime; }, "300"},
        {"Autostartmsg", [](const Rig& r) { return CheckText(r.fields.autostartMessages); }, "1"},
        {"StartHidden", [](const Rig& r) { return CheckText(r.fields.startHidden); }, "1"},
        {"logmins", [](const Rig& r) { return r.fields.logMins; }, "10"},
        {"logstatus", [](const Rig& r) { return CheckText(r.fields.logStatus); }, "0"},
        {"logmax", [](const Rig& r) { return r.log.LimitText(); }, "200"},
        {"respondTrys field", [](const Rig& r) { return r.fields.respondTries; }, "8"},
        {"respondTrys limit", [](const Rig& r) { return std::to_string(r.session.respondTries); }, "8"},
        // Nothing stored: the empty selection cannot be applied, and the list then shows what
        // the program really runs on.
        {"programcores", [](const Rig& r) { return r.fields.programCores.SelectionText(); }, "0,2,"},
        {"consolecores", [](const Rig& r) { return r.fields.consoleCores.SelectionText(); }, ""},
        {"TempBanTime", [](const Rig& r) { return r.fields.tempBanTime; }, "300"},
        {"backcolor", [](const Rig& r) { return std::to_string(r.colours.background); }, "2305572"},
        {"fontcolor", [](const Rig& r) { return std::to_string(r.colours.font); }, "16777215"},
        {"history", [](const Rig& r) { return Joined(r.fields.commandHistory); }, ""},
        {"logsystem", [](const Rig& r) { return CheckText(r.log.FileLogging()); }, "0"},
    };
    return defaults;
}

TEST_F(ProfilesTest, FirstRunListsDefaultAndLoadsDefaults) {
    Scribble();
    const std::size_t before = m_rig.log.Entries().size();

    m_rig.profiles.RefreshProfileList();

    EXPECT_EQ(m_rig.profiles.List().entries, Texts{kDefaultProfileName});
    EXPECT_EQ(m_rig.profiles.List().selected, std::size_t{0});
    EXPECT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("default"));
    EXPECT_EQ(LogTexts(before),
              Texts({"Loading \"default\" profile.", "Profile doesn't exist, loading defaults.",
                     "Error set new CPU affinity for Program Window.", "Finish loading profile."}));
    EXPECT_EQ(m_rig.log.Entries()[before].colour, kLogInformation);
    EXPECT_EQ(m_rig.log.Entries()[before + 1].colour, kLogInformation);
    EXPECT_EQ(LastEntry().colour, kLogProfile);
    for (const FieldValue& row : Defaults()) {
        EXPECT_EQ(row.read(m_rig), row.expected) << row.key;
    }
    EXPECT_FALSE(fs::exists(ProfileFile("default"))) << "loading must not create the file";
}

TEST_F(ProfilesTest, AProfileWithOnlyAHostNameLoadsDefaultsElsewhere) {
    WriteProfile("base", "[server]\r\nHostName=Alpha Base\r\n");
    Scribble();

    m_rig.profiles.RefreshProfileList();

    EXPECT_EQ(m_rig.fields.hostName, "Alpha Base");
    for (const FieldValue& row : Defaults()) {
        if (std::string(row.key) != "HostName") {
            EXPECT_EQ(row.read(m_rig), row.expected) << row.key;
        }
    }
    EXPECT_FALSE(Logged("Profile doesn't exist, loading defaults."));
    EXPECT_EQ(LastEntry().text, "Finish loading profile.");
}

// One stored value each: how it is converted, and the field left as it was (set by `before`)
// when it cannot be applied.
struct ConversionCase {
    const char* name;
    const char* fileText;
    std::function<void(Rig&)> before;
    std::function<void(const Rig&)> check;
};

class ProfileConversionTest : public ProfilesTest, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(ProfileConversionTest, AppliesTheStoredValueOrLeavesTheField) {
    WriteProfile("p", GetParam().fileText);
    GetParam().before(m_rig);

    m_rig.profiles.RefreshProfileList();

    GetParam().check(m_rig);
    EXPECT_EQ(LastEntry().text, "Finish loading profile.");
}

void SetTries(Rig& r, std::int16_t tries) {
    r.session.respondTries = tries;
    r.fields.respondTries = std::to_string(tries);
}

void ExpectTries(const Rig& r, std::int16_t tries) {
    EXPECT_EQ(r.session.respondTries, tries);
    EXPECT_EQ(r.fields.respondTries, std::to_string(tries));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ProfileConversionTest,
    ::testing::Values(
        ConversionCase{"VisibilityOneIsLan", "[server]\r\nServerVisibility=1\r\n",
                       [](Rig& r) { r.fields.serverVisibility.SelectIndex(1); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.serverVisibility.Text(), "LAN"); }},
        ConversionCase{"VisibilityFiveLeavesTheChoice", "[server]\r\nServerVisibility=5\r\n",
                       [](Rig& r) { r.fields.serverVisibility.SelectIndex(0); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.serverVisibility.Text(), "LAN"); }},
        ConversionCase{"VisibilityZeroLeavesTheChoice", "[server]\r\nServerVisibility=0\r\n",
                       [](Rig& r) { r.fields.serverVisibility.SelectIndex(0); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.serverVisibility.Text(), "LAN"); }},
        ConversionCase{"InterfaceMinusOneSelectsNone", "[server]\r\nNetworkInterface=-1\r\n",
                       [](Rig& r) { r.fields.networkInterface.SelectIndex(1); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.networkInterface.selected, std::nullopt); }},
        ConversionCase{"InterfaceMinusTwoLeavesTheChoice", "[server]\r\nNetworkInterface=-2\r\n",
                       [](Rig& r) { r.fields.networkInterface.SelectIndex(1); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.networkInterface.selected, std::size_t{1}); }},
        ConversionCase{"InterfaceTwoSelectsTheThird", "[server]\r\nNetworkInterface=2\r\n",
                       [](Rig& r) { r.fields.networkInterface.SelectIndex(0); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.networkInterface.selected, std::size_t{2}); }},
        ConversionCase{"InterfaceNineLeavesTheChoice", "[server]\r\nNetworkInterface=9\r\n",
                       [](Rig& r) { r.fields.networkInterface.SelectIndex(1); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.networkInterface.selected, std::size_t{1}); }},
        // The profile stores a plain position; "255" means the last entry only in pellagrix.ini.
        ConversionCase{"Interface255IsNoPosition", "[server]\r\nNetworkInterface=255\r\n",
                       [](Rig& r) { r.fields.networkInterface.SelectIndex(1); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.networkInterface.selected, std::size_t{1}); }},
        ConversionCase{"InterfaceTextLeavesTheChoice", "[server]\r\nNetworkInterface=abc\r\n",
                       [](Rig& r) { r.fields.networkInterface.SelectIndex(1); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.networkInterface.selected, std::size_t{1}); }},
        ConversionCase{"ConfigFileSelectedByName", "[server]\r\nServerConfigFile=server_tdm.cfg\r\n",
                       [](Rig& r) { r.fields.configFiles.SelectIndex(0); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.configFiles.Text(), "server_tdm.cfg"); }},
        ConversionCase{"MissingConfigFileLeavesTheChoice", "[server]\r\nServerConfigFile=gone.cfg\r\n",
                       [](Rig& r) { r.fields.configFiles.SelectIndex(1); },
                       [](const Rig& r) { EXPECT_EQ(r.fields.configFiles.Text(), "server_tdm.cfg"); }},
        ConversionCase{"MapListSelectedAndLoaded", "[server]\r\nLastSelectedMapList=beta.dspl\r\n",
                       [](Rig& r) { r.mapLists.SelectMapList(std::string_view("alpha.dspl")); },
                       [](const Rig& r) {
                           EXPECT_EQ(r.mapLists.SelectedFileName(), "beta.dspl");
                           EXPECT_EQ(r.mapLists.Lines(), kBetaLines);
                       }},
        ConversionCase{"MissingMapListLeavesTheSelection", "[server]\r\nLastSelectedMapList=gone.dspl\r\n",
                       [](Rig& r) { r.mapLists.SelectMapList(std::string_view("beta.dspl")); },
                       [](const Rig& r) {
                           EXPECT_EQ(r.mapLists.SelectedFileName(), "beta.dspl");
                           EXPECT_EQ(r.mapLists.Lines(), kBetaLines);
                       }},
        ConversionCase{"MapListNameMatchedExactly", "[server]\r\nLastSelectedMapList=BETA.DSPL\r\n",
                       [](Rig& r) { r.mapLists.SelectMapList(std::string_view("alpha.dspl")); },
                       [](const Rig& r) { EXPECT_EQ(r.mapLists.SelectedFileName(), "alpha.dspl"); }},
        ConversionCase{"RespondTriesSetsFieldAndLimit", "[server]\r\nrespondTrys=12\r\n",
                       [](Rig& r) { SetTries(r, 3); }, [](const Rig& r) { ExpectTries(r, 12); }},
        ConversionCase{"RespondTriesTextLeavesBoth", "[server]\r\nrespondTrys=x\r\n",
                       [](Rig& r) { SetTries(r, 3); }, [](const Rig& r) { ExpectTries(r, 3); }},
        ConversionCase{"RespondTriesBeyond16BitsLeavesBoth", "[server]\r\nrespondTrys=99999\r\n",
                       [](Rig& r) { SetTries(r, 3); }, [](const Rig& r) { ExpectTries(r, 3); }},
        ConversionCase{"StartHiddenZeroClears", "[console]\r\nStartHidden=0\r\n",
                       [](Rig& r) { r.fields.startHidden = true; },
                       [](const Rig& r) { EXPECT_FALSE(r.fields.startHidden); }},
        ConversionCase{"StartHiddenOneTicks", "[console]\r\nStartHidden=1\r\n",
                       [](Rig& r) { r.fields.startHidden = false; },
                       [](const Rig& r) { EXPECT_TRUE(r.fields.startHidden); }},
        ConversionCase{"StartHiddenSevenLeavesAClearBox", "[console]\r\nStartHidden=7\r\n",
                       [](Rig& r) { r.fields.startHidden = false; },
                       [](const Rig& r) { EXPECT_FALSE(r.fields.startHidden); }},
        ConversionCase{"StartHiddenSevenLeavesATickedBox", "[console]\r\nStartHidden=7\r\n",
                       [](Rig& r) { r.fields.startHidden = true; },
                       [](const Rig& r) { EXPECT_TRUE(r.fields.startHidden); }},
        ConversionCase{"BackColourApplied", "[console]\r\nbackcolor=255\r\n",
                       [](Rig& r) { r.colours.background = 0x123456; },
                       [](const Rig& r) { EXPECT_EQ(r.colours.background, Colour{255}); }},
        ConversionCase{"NegativeBackColourLeavesTheSwatch", "[console]\r\nbackcolor=-5\r\n",
                       [](Rig& r) { r.colours.background = 0x123456; },
                       [](const Rig& r) { EXPECT_EQ(r.colours.background, Colour{0x123456}); }},
        ConversionCase{"TextBackColourLeavesTheSwatch", "[console]\r\nbackcolor=abc\r\n",
                       [](Rig& r) { r.colours.background = 0x123456; },
                       [](const Rig& r) { EXPECT_EQ(r.colours.background, Colour{0x123456}); }},
        ConversionCase{"UnknownKeysAndSectionsIgnored",
                       "[server]\r\nHostName=Base\r\nBogus=1\r\n[mystery]\r\nMaxClients=2\r\n"
                       "[console]\r\nHostName=Elsewhere\r\n",
                       [](Rig& r) { r.fields.maxClients = "6"; },
                       [](const Rig& r) {
                           EXPECT_EQ(r.fields.hostName, "Base");
                           EXPECT_EQ(r.fields.maxClients, "18");
                       }},
        ConversionCase{"ABadValueDoesNotStopTheLoad",
                       "[server]\r\nNetworkInterface=abc\r\nServerVisibility=9\r\nMaxClients=6\r\n"
                       "respondTrys=x\r\n[console]\r\nTempBanTime=77\r\n",
                       [](Rig& r) { r.fields.maxClients = "1"; },
                       [](const Rig& r) {
                           EXPECT_EQ(r.fields.maxClients, "6");
                           EXPECT_EQ(r.fields.tempBanTime, "77");
                       }}),
    [](const ::testing::TestParamInfo<ConversionCase>& row) { return std::string(row.param.name); });

// --- Processor cores ---------------------------------------------------------------------------

TEST_F(ProfilesTest, ProgramCoresAreSelectedAndAppliedToTheProgram) {
    WriteProfile("p", "[settings]\r\nprogramcores=0,2,\r\n");
    m_rig.fields.programCores.SelectAll();

    m_rig.profiles.RefreshProfileList();

    EXPECT_EQ(m_rig.processes.setRequests, std::vector<std::uint64_t>{5});
    EXPECT_EQ(m_rig.processes.affinities[FakeProcesses::kOwnId], 5U);
    EXPECT_EQ(m_rig.fields.programCores.selected, Ticks({0, 2}, 8));
    EXPECT_TRUE(Logged("New CPU affinity for Program window set it successfully."));
}

TEST_F(ProfilesTest, ACoreBeyondTheListIsSkipped) {
    m_rig.processes.systemMask = 0xF;
    m_rig.processes.affinities[FakeProcesses::kOwnId] = 0xF;
    FillCoreLists(m_rig.fields.consoleCores, m_rig.fields.programCores, m_rig.processes);
    WriteProfile("p", "[settings]\r\nprogramcores=0,9,\r\nconsolecores=9,1,\r\n");

    m_rig.profiles.RefreshProfileList();

    EXPECT_EQ(m_rig.processes.setRequests, std::vector<std::uint64_t>{1});
    EXPECT_EQ(m_rig.fields.programCores.selected, Ticks({0}, 4));
    EXPECT_EQ(m_rig.fields.consoleCores.selected, Ticks({1}, 4));
}

TEST_F(ProfilesTest, ConsoleCoresAreSelectedButNotApplied) {
    m_rig.processes.affinities[FakeProcesses::kOwnId] = 0x1;
    WriteProfile("p", "[settings]\r\nprogramcores=\r\nconsolecores=1,3,\r\n");
    m_rig.fields.consoleCores.SelectAll();

    m_rig.profiles.RefreshProfileList();

    EXPECT_EQ(m_rig.fields.consoleCores.selected, Ticks({1, 3}, 8));
    // Only the program's (empty, refused) selection was sent anywhere.
    EXPECT_EQ(m_rig.processes.setRequests, std::vector<std::uint64_t>{0});
    EXPECT_EQ(m_rig.processes.affinities[FakeProcesses::kOwnId], 1U);
    EXPECT_EQ(m_rig.fields.programCores.selected, Ticks({0}, 8));
}

// --- Saving ------------------------------------------------------------------------------------

TEST_F(ProfilesTest, SaveWritesEveryKeyInOrderIntoANewFile) {
    ProfileFields& f = m_rig.fields;
    f.hostName = "Alpha Base";
    f.serverPort = "28016";
    f.privateClients = "2";
    f.maxClients = "12";
    f.rconPassword = "rc0n";
    f.privatePassword = "secret";
    f.maxPing = "250";
    f.configFiles.SelectIndex(1);
    m_rig.mapLists.SelectMapList(std::string_view("beta.dspl"));
    f.voiceChat = "1";
    f.voting = "0";
    f.deadChat = "1";
    f.inactivity = "60";
    f.kickTime = "120";
    f.networkInterface.SelectIndex(2);
    f.startHidden = false;
    f.tempBanTime = "600";
    f.gamePort = "28014";
    f.authenticationPort = "9766";
    f.serverVisibility.SelectIndex(0);
    f.masterPort = "28017";
    f.autostartMessages = false;
    f.respondTries = "4";  // typed, but "Set" was not clicked
    m_rig.session.respondTries = 11;
    f.logMins = "15";
    f.logStatus = true;
    m_rig.log.SetLimitText("300");
    f.consoleCores.SelectFromText("1,3,");
    f.programCores.ClearSelection();
    f.commandHistory = {"say hello", "map mp_dome"};
    m_rig.colours.background = 255;
    ASSERT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("default"));

    ASSERT_TRUE(m_rig.profiles.SaveProfile());

    EXPECT_EQ(ReadFile(ProfileFile("default")),
              "[server]\r\n"
              "HOSTNAME=Alpha Base\r\n"
              "SERVERPORT=28016\r\n"
              "PRIVATECLIENTS=2\r\n"
              "MAXCLIENTS=12\r\n"
              "RCONPASSWORD=rc0n\r\n"
              "PRIVATEPASSWORD=secret\r\n"
              "MAXPING=250\r\n"
              "SERVERCONFIGFILE=server_tdm.cfg\r\n"
              "LASTSELECTEDMAPLIST=beta.dspl\r\n"
              "VOICECHAT=1\r\n"
              "VOTING=0\r\n"
              "DEADCHAT=1\r\n"
              "INACTIVITY=60\r\n"
              "KICKTIME=120\r\n"
              "NETWORKINTERFACE=2\r\n"
              "GAMEPORT=28014\r\n"
              "AUTHENTICATIONPORT=9766\r\n"
              "SERVERVISIBILITY=1\r\n"
              "MASTERPORT=28017\r\n"
              "AUTOSTARTMSG=0\r\n"
              "RESPONDTRYS=11\r\n"
              "[console]\r\n"
              "STARTHIDDEN=0\r\n"
              "TEMPBANTIME=600\r\n"
              "[localserver]\r\n"
              "LOGMINS=15\r\n"
              "LOGSTATUS=1\r\n"
              "LOGMAX=300\r\n"
              "[program]\r\n"
              "LOGSYSTEM=0\r\n"
              "[settings]\r\n"
              "CONSOLECORES=1,3,\r\n"
              "PROGRAMCORES=\r\n"
              "[history]\r\n"
              "1=say hello\r\n"
              "2=map mp_dome\r\n");
    // The last of three entries is "255" for the game, a plain position in the profile.
    EXPECT_EQ(ReadFile(GameSettingsFile()), "[Network]\r\nNETWORKINTERFACE=255\r\n");
}

TEST_F(ProfilesTest, SaveOverAnExistingProfileKeepsOtherKeysAndColours) {
    WriteProfile("p",
                 "; kept comment\r\n"
                 "[server]\r\nHostName=Old\r\nCustom=keep me\r\n"
                 "[console]\r\nbackcolor=255\r\nfontcolor=65280\r\n"
                 "[history]\r\n1=one\r\n2=two\r\n3=three\r\n4=four\r\n5=five\r\n");
    m_rig.profiles.RefreshProfileList();
    ASSERT_EQ(m_rig.fields.commandHistory, Texts({"one", "two", "three", "four", "five"}));
    m_rig.colours.background = 1000;
    m_rig.colours.font = 2000;
    m_rig.fields.commandHistory = {"x", "y", "z"};
    m_rig.fields.hostName = "New";

    ASSERT_TRUE(m_rig.profiles.SaveProfile());

    const IniDocument saved = IniDocument::Load(ProfileFile("p"));
    EXPECT_EQ(saved.Value("server", "HostName"), "New");
    EXPECT_EQ(saved.Value("server", "Custom"), "keep me");
    EXPECT_EQ(saved.Value("console", "backcolor"), "255");
    EXPECT_EQ(saved.Value("console", "fontcolor"), "65280");
    EXPECT_TRUE(ReadFile(ProfileFile("p")).starts_with("; kept comment\r\n"));

    m_rig.profiles.LoadProfile();

    EXPECT_EQ(m_rig.fields.commandHistory, Texts({"x", "y", "z", "four", "five"}));
    EXPECT_EQ(m_rig.colours.background, Colour{255});
}

TEST_F(ProfilesTest, HistoryKeysLoadInKeyOrderAcrossGaps) {
    WriteProfile("p", "[history]\r\n10=ten\r\n1=one\r\n2=\r\n4=four\r\n11=eleven\r\n0=zero\r\n");
    m_rig.fields.commandHistory = {"stale"};

    m_rig.profiles.RefreshProfileList();

    EXPECT_EQ(m_rig.fields.commandHistory, Texts({"one", "four", "ten"}));
}

TEST_F(ProfilesTest, StoredFileLoggingStartsAfterTheLoadAndCatchesUp) {
    WriteProfile("p", "[program]\r\nlogsystem=1\r\n");
    m_rig.log.LogSystemMessage("Program Started.", kLogInformation);

    m_rig.profiles.RefreshProfileList();

    ASSERT_TRUE(m_rig.log.FileLogging());
    EXPECT_EQ(LastEntry().text, "Finish loading profile.");
    EXPECT_EQ(ReadFile(m_rig.log.LogFile()), m_rig.log.ScreenText() + "\r\n");
}

// --- The buttons -------------------------------------------------------------------------------

TEST_F(ProfilesTest, SaveButtonAnsweredNoWritesNothing) {
    WriteProfile("p", "[server]\r\nHostName=Old\r\n");
    m_rig.profiles.RefreshProfileList();
    m_rig.fields.hostName = "New";
    const std::size_t before = m_rig.log.Entries().size();

    m_rig.profiles.Save();

    ASSERT_EQ(m_rig.dialogs.questions.size(), 1U);
    EXPECT_EQ(m_rig.dialogs.questions[0].title, "Updating profile.");
    EXPECT_EQ(m_rig.dialogs.questions[0].text, "Are you sure?");
    EXPECT_EQ(ReadFile(ProfileFile("p")), "[server]\r\nHostName=Old\r\n");
    EXPECT_FALSE(fs::exists(GameSettingsFile()));
    EXPECT_EQ(m_rig.log.Entries().size(), before);
}

TEST_F(ProfilesTest, SaveButtonAnsweredYesSavesAndLogs) {
    WriteProfile("p", "[server]\r\nHostName=Old\r\n");
    m_rig.profiles.RefreshProfileList();
    m_rig.fields.hostName = "New";
    m_rig.dialogs.answerYes = true;

    m_rig.profiles.Save();

    EXPECT_EQ(IniDocument::Load(ProfileFile("p")).Value("server", "HostName"), "New");
    EXPECT_EQ(LastEntry().text, "Updated profile: p");
    EXPECT_EQ(LastEntry().colour, kLogProfile);
    EXPECT_TRUE(m_rig.dialogs.messages.empty());
}

TEST_F(ProfilesTest, SaveButtonOnAReadOnlyProfileReportsAndKeepsTheFile) {
    WriteProfile("p", "[server]\r\nHostName=Old\r\n");
    m_rig.profiles.RefreshProfileList();
    fs::permissions(ProfileFile("p"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    m_rig.fields.hostName = "New";
    m_rig.dialogs.answerYes = true;

    m_rig.profiles.Save();

    EXPECT_EQ(m_rig.dialogs.messages.size(), 1U);
    EXPECT_EQ(ReadFile(ProfileFile("p")), "[server]\r\nHostName=Old\r\n");
    EXPECT_FALSE(Logged("Updated profile: p"));
}

// Answers that end "save as" before anything happens.
class SaveAsCancelledTest : public ProfilesTest,
                            public ::testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(SaveAsCancelledTest, WritesNothing) {
    WriteProfile("p", "[server]\r\nHostName=Old\r\n");
    m_rig.profiles.RefreshProfileList();
    const std::set<std::string> files = Tree(m_rig.folder.Path());
    const std::size_t before = m_rig.log.Entries().size();
    m_rig.dialogs.textAnswer = GetParam();

    m_rig.profiles.SaveAs();

    ASSERT_EQ(m_rig.dialogs.textPrompts.size(), 1U);
    EXPECT_EQ(m_rig.dialogs.textPrompts[0].title, "Creating new profile.");
    EXPECT_EQ(m_rig.dialogs.textPrompts[0].text, "Enter new profile name or leave it empty to cancel:");
    EXPECT_EQ(Tree(m_rig.folder.Path()), files);
    EXPECT_EQ(m_rig.log.Entries().size(), before);
    EXPECT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("p"));
    EXPECT_TRUE(m_rig.dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Answers, SaveAsCancelledTest,
                         ::testing::Values(std::nullopt, std::string(), std::string("   ")));

// Names that cannot be a profile file in the program's folder.
struct RefusedName {
    const char* label;
    const char* name;
};

void PrintTo(const RefusedName& row, std::ostream* os) {
    *os << '"' << row.name << '"';
}

class SaveAsRefusedTest : public ProfilesTest, public ::testing::WithParamInterface<RefusedName> {};

TEST_P(SaveAsRefusedTest, ReportsAndWritesNothingAnywhere) {
    WriteProfile("p", "[server]\r\nHostName=Old\r\n");
    m_rig.profiles.RefreshProfileList();
    const fs::path outside = m_rig.folder.Path().parent_path();
    const std::set<std::string> files = Tree(m_rig.folder.Path());
    const std::size_t before = m_rig.log.Entries().size();
    m_rig.dialogs.textAnswer = GetParam().name;

    m_rig.profiles.SaveAs();

    EXPECT_EQ(m_rig.dialogs.messages.size(), 1U);
    EXPECT_EQ(Tree(m_rig.folder.Path()), files);
    const fs::path escaped = outside / "zembrock-escaped.tslpf";
    EXPECT_FALSE(fs::exists(escaped));
    fs::remove(escaped);
    EXPECT_EQ(m_rig.log.Entries().size(), before);
    EXPECT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("p"));
}

INSTANTIATE_TEST_SUITE_P(Names, SaveAsRefusedTest,
                         ::testing::Values(RefusedName{"Slash", "team/alpha"},
                                           RefusedName{"ParentFolder", "../zembrock-escaped"},
                                           RefusedName{"DotDot", ".."}, RefusedName{"Colon", "c:d"},
                                           RefusedName{"TrailingDot", "name."}, RefusedName{"Star", "a*b"},
                                           RefusedName{"DeviceName", "CON"}),
                         [](const ::testing::TestParamInfo<RefusedName>& row) {
                             return std::string(row.param.label);
                         });

TEST_F(ProfilesTest, SaveAsWritesTheNewProfileThenLoadsTheFirstOfTheList) {
    WriteProfile("aaa", "[server]\r\nHostName=First\r\n");
    m_rig.profiles.RefreshProfileList();
    m_rig.fields.hostName = "Zulu Base";
    m_rig.dialogs.textAnswer = "zulu";
    const std::size_t before = m_rig.log.Entries().size();

    m_rig.profiles.SaveAs();

    EXPECT_EQ(IniDocument::Load(ProfileFile("zulu")).Value("server", "HostName"), "Zulu Base");
    EXPECT_EQ(m_rig.profiles.List().entries, Texts({"aaa", "zulu"}));
    EXPECT_EQ(m_rig.profiles.List().Text(), "aaa");
    EXPECT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("aaa"));
    EXPECT_EQ(m_rig.fields.hostName, "First");
    const Texts logged = LogTexts(before);
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(logged.front(), "Loading \"aaa\" profile.");
    EXPECT_EQ(LastEntry().text, "New profile created: zulu");
    EXPECT_EQ(LastEntry().colour, kLogProfile);
    EXPECT_TRUE(m_rig.dialogs.questions.empty());
}

TEST_F(ProfilesTest, SaveAsOverAnExistingProfileOverwritesWithoutAsking) {
    WriteProfile("zulu", "[server]\r\nHostName=Old\r\n[extra]\r\nKEEP=1\r\n[console]\r\nbackcolor=255\r\n");
    m_rig.profiles.RefreshProfileList();
    m_rig.fields.hostName = "New";
    m_rig.dialogs.textAnswer = "zulu";

    m_rig.profiles.SaveAs();

    EXPECT_TRUE(m_rig.dialogs.questions.empty());
    const IniDocument saved = IniDocument::Load(ProfileFile("zulu"));
    EXPECT_EQ(saved.Value("server", "HostName"), "New");
    EXPECT_EQ(saved.Value("extra", "KEEP"), "1");
    EXPECT_EQ(saved.Value("console", "backcolor"), "255");
    EXPECT_EQ(m_rig.fields.hostName, "New");  // reloaded from what was just written
    EXPECT_EQ(LastEntry().text, "New profile created: zulu");
}

TEST_F(ProfilesTest, DeleteAnsweredNoKeepsTheProfile) {
    WriteProfile("a", "[server]\r\nHostName=A\r\n");
    m_rig.profiles.RefreshProfileList();
    const std::size_t before = m_rig.log.Entries().size();

    m_rig.profiles.Delete();

    ASSERT_EQ(m_rig.dialogs.questions.size(), 1U);
    EXPECT_EQ(m_rig.dialogs.questions[0].title, "Deleting profile.");
    EXPECT_EQ(m_rig.dialogs.questions[0].text, "Are you sure?");
    EXPECT_TRUE(fs::exists(ProfileFile("a")));
    EXPECT_EQ(m_rig.log.Entries().size(), before);
}

TEST_F(ProfilesTest, DeleteRemovesTheFileWaitsAndLoadsTheNextProfile) {
    WriteProfile("a", "[server]\r\nHostName=A\r\n");
    WriteProfile("b", "[server]\r\nHostName=B\r\n");
    m_rig.profiles.RefreshProfileList();
    m_rig.dialogs.answerYes = true;
    std::optional<bool> existedDuringWait;
    m_rig.pump.onPass = [&] {
        if (!existedDuringWait) {
            existedDuringWait = fs::exists(ProfileFile("a"));
        }
    };
    const std::size_t before = m_rig.log.Entries().size();

    m_rig.profiles.Delete();

    EXPECT_FALSE(fs::exists(ProfileFile("a")));
    EXPECT_EQ(existedDuringWait, false);
    EXPECT_EQ(std::accumulate(m_rig.clock.sleeps.begin(), m_rig.clock.sleeps.end(), std::uint32_t{0}), 100U);
    const Texts logged = LogTexts(before);
    ASSERT_GE(logged.size(), 2U);
    EXPECT_EQ(logged[0], "Deleted profile: a");
    EXPECT_EQ(m_rig.log.Entries()[before].colour, kLogProfile);
    EXPECT_EQ(logged[1], "Loading \"b\" profile.");
    EXPECT_EQ(m_rig.profiles.List().entries, Texts{"b"});
    EXPECT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("b"));
    EXPECT_EQ(m_rig.fields.hostName, "B");
}

TEST_F(ProfilesTest, DeletingTheOnlyProfileLeavesDefault) {
    WriteProfile("solo", "[server]\r\nHostName=Solo\r\n");
    m_rig.profiles.RefreshProfileList();
    m_rig.dialogs.answerYes = true;

    m_rig.profiles.Delete();

    EXPECT_EQ(m_rig.profiles.List().entries, Texts{kDefaultProfileName});
    EXPECT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("default"));
    EXPECT_EQ(m_rig.fields.hostName, "My Server Name");
    EXPECT_TRUE(Logged("Profile doesn't exist, loading defaults."));
}

TEST_F(ProfilesTest, DeletingAMissingDefaultStillLogsAndRefreshes) {
    m_rig.profiles.RefreshProfileList();
    m_rig.dialogs.answerYes = true;
    m_rig.fields.hostName = "typed";
    const std::size_t before = m_rig.log.Entries().size();

    m_rig.profiles.Delete();

    const Texts logged = LogTexts(before);
    ASSERT_GE(logged.size(), 2U);
    EXPECT_EQ(logged[0], "Deleted profile: default");
    EXPECT_EQ(logged[1], "Loading \"default\" profile.");
    EXPECT_EQ(m_rig.fields.hostName, "My Server Name");
    EXPECT_EQ(m_rig.profiles.List().entries, Texts{kDefaultProfileName});
    EXPECT_FALSE(fs::exists(ProfileFile("default")));
}

// --- The list and the profile named on the command line ---------------------------------------

TEST_F(ProfilesTest, ListIsSortedWithoutRegardToCaseAndCutAtTheLastDot) {
    WriteProfile("charlie", "");
    WriteProfile("Beta", "");
    WriteProfile("a.b", "[server]\r\nHostName=Dotted\r\n");
    WriteFile(m_rig.folder / "notes.txt", "");

    m_rig.profiles.RefreshProfileList();

    EXPECT_EQ(m_rig.profiles.List().entries, Texts({"a.b", "Beta", "charlie"}));
    EXPECT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("a.b"));
    EXPECT_EQ(m_rig.fields.hostName, "Dotted");
}

TEST_F(ProfilesTest, NamedProfileThatIsListedIsLoaded) {
    WriteProfile("a", "[server]\r\nHostName=A\r\n");
    WriteProfile("b", "[server]\r\nHostName=B\r\n");
    m_rig.profiles.RefreshProfileList();

    m_rig.profiles.SelectNamedProfile("b");

    EXPECT_EQ(m_rig.profiles.List().Text(), "b");
    EXPECT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("b"));
    EXPECT_EQ(m_rig.fields.hostName, "B");
    EXPECT_TRUE(Logged("Loading \"b\" profile."));
}

TEST_F(ProfilesTest, NamedProfileAlreadySelectedIsNotReloaded) {
    WriteProfile("a", "[server]\r\nHostName=A\r\n");
    m_rig.profiles.RefreshProfileList();
    m_rig.fields.hostName = "typed";
    const std::size_t before = m_rig.log.Entries().size();

    m_rig.profiles.SelectNamedProfile("a");

    EXPECT_EQ(m_rig.fields.hostName, "typed");
    EXPECT_EQ(m_rig.log.Entries().size(), before);
    EXPECT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("a"));
}

TEST_F(ProfilesTest, NamedProfileThatIsNotListedBecomesTheFileOfTheNextSave) {
    WriteProfile("a", "[server]\r\nHostName=A\r\n");
    m_rig.profiles.RefreshProfileList();
    m_rig.fields.hostName = "typed";
    const std::size_t before = m_rig.log.Entries().size();

    m_rig.profiles.SelectNamedProfile("ghost");

    EXPECT_EQ(m_rig.fields.hostName, "typed");
    EXPECT_EQ(m_rig.log.Entries().size(), before);
    EXPECT_EQ(m_rig.profiles.CurrentProfileFile(), ProfileFile("ghost"));

    ASSERT_TRUE(m_rig.profiles.SaveProfile());

    EXPECT_EQ(IniDocument::Load(ProfileFile("ghost")).Value("server", "HostName"), "typed");
    EXPECT_EQ(ReadFile(ProfileFile("a")), "[server]\r\nHostName=A\r\n");
}

}  // namespace
}  // namespace zembrock
