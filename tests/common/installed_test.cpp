// Installed implementations: the newest one still installed answers, the
// one before it comes back whichever goes first, and with none the
// fallback answers; the prompter and the file commit are installed so.
#include "common/installed.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "config/file_commit.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {
namespace {

class Greeter {
public:
    virtual ~Greeter() = default;
    virtual std::string Name() const = 0;
};

class Named : public Greeter {
public:
    explicit Named(std::string name) : name_(std::move(name)) {}
    std::string Name() const override { return name_; }

private:
    std::string name_;
};

std::string InForce() {
    static Named fallback("fallback");
    return InstalledOr<Greeter>(fallback).Name();
}

TEST(InstalledTest, TheNewestHeldInstallationAnswersWhicheverGoesFirst) {
    Named a("a");
    Named b("b");
    EXPECT_EQ(Installed<Greeter>(), nullptr);
    EXPECT_EQ(InForce(), "fallback");
    {
        Subscription first = Install<Greeter>(a);
        Subscription second = Install<Greeter>(b);
        EXPECT_EQ(InForce(), "b");
        second.Reset();  // the newest goes first
        EXPECT_EQ(InForce(), "a");
        first.Reset();
        EXPECT_EQ(InForce(), "fallback");
    }
    {
        Subscription first = Install<Greeter>(a);
        Subscription second = Install<Greeter>(b);
        first.Reset();  // the older goes first: the newer stays in force
        EXPECT_EQ(InForce(), "b");
        second.Reset();
        EXPECT_EQ(InForce(), "fallback");
    }
    {
        // Moving an installation keeps it; the same object may be installed twice.
        Subscription moved = Install<Greeter>(a);
        const Subscription twice = Install<Greeter>(a);
        Subscription held = std::move(moved);
        EXPECT_EQ(Installations<Greeter>().Count(), 2u);
        EXPECT_EQ(Installed<Greeter>(), &a);
    }
    EXPECT_EQ(Installed<Greeter>(), nullptr);
}

// Interfaces are installed apart: installing one changes no other.
TEST(InstalledTest, EachInterfaceHasItsOwnInstallations) {
    Named a("a");
    const Subscription greeter = Install<Greeter>(a);
    EXPECT_EQ(Installed<Prompter>(), nullptr);
    EXPECT_EQ(Installed<CommitPlatform>(), nullptr);
}

TEST(InstalledTest, ThePrompterFallsBackOnASilentOne) {
    ScriptedPrompter outer;
    ScriptedPrompter inner;
    Subscription first = InstallPrompter(outer);
    Subscription second = InstallPrompter(inner);
    outer.Answer(mrNo);
    inner.Answer(mrNo);
    first.Reset();
    EXPECT_EQ(CurrentPrompter().MessageDlg("q", MsgType::Confirmation, MsgButtons::YesNo), mrNo);
    EXPECT_EQ(inner.Questions().size(), 1u);
    EXPECT_TRUE(outer.Questions().empty());
    second.Reset();
    // With none installed: the first button, a cancelled line and list, no menu item.
    EXPECT_EQ(CurrentPrompter().MessageDlg("q", MsgType::Confirmation, MsgButtons::YesNo), mrYes);
    EXPECT_EQ(CurrentPrompter().MessageDlg("q", MsgType::Warning, MsgButtons::OkCancel), mrOk);
    LineQuestion line;
    EXPECT_FALSE(CurrentPrompter().AskLine(line));
    EXPECT_EQ(CurrentPrompter().ShowList({"1 a"}, ListStyle::Keyed).result, ListResult::Cancel);
    EXPECT_EQ(CurrentPrompter().AskPopupMenu(nullptr, 0, 0, nullptr), 0);
    EXPECT_EQ(inner.Questions().size(), 1u);
}

// Steps that record the commit and do nothing on the disk.
class RecordedSteps : public CommitSteps {
public:
    explicit RecordedSteps(std::vector<std::string>& log) : log_(log) {}
    bool Create(const std::string& path) override { return Log("create " + path); }
    std::size_t Write(std::string_view bytes) override {
        Log("write " + std::string(bytes));
        return bytes.size();
    }
    bool Flush() override { return Log("flush"); }
    bool Close() override { return Log("close"); }
    bool Replace(const std::string& temp, const std::string& target) override {
        return Log("replace " + temp + " " + target);
    }
    void Remove(const std::string& path) override { Log("remove " + path); }

private:
    bool Log(std::string line) {
        log_.push_back(std::move(line));
        return true;
    }
    std::vector<std::string>& log_;
};

class RecordedCommit : public CommitPlatform {
public:
    std::unique_ptr<CommitSteps> MakeSteps() override { return std::make_unique<RecordedSteps>(log); }
    std::vector<std::string> log;
};

TEST(InstalledTest, ACommitGoesThroughThePlatformInForce) {
    RecordedCommit platform;
    {
        const Subscription installed = InstallCommitPlatform(platform);
        EXPECT_TRUE(CommitFile("a.tmp", "a.cfg", "text"));
    }
    EXPECT_EQ(platform.log, (std::vector<std::string>{"create a.tmp", "write text", "flush", "close",
                                                      "replace a.tmp a.cfg"}));
}

}  // namespace
}  // namespace kestrum
