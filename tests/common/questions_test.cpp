// Question sets: the defaults until one is installed, the newest installed
// one after, and an installation that ends with its subscription; a fake
// derived from a set installs as that set.
#include "common/questions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kestrum {
namespace {

// A subsystem's questions as a subsystem declares them: defaults cancel.
class PlanetQuestions {
public:
    virtual ~PlanetQuestions() = default;
    virtual std::optional<std::string> AskPlanet() { return std::nullopt; }
};

class Answering : public PlanetQuestions {
public:
    explicit Answering(std::string answer) : answer_(std::move(answer)) {}
    std::optional<std::string> AskPlanet() override {
        ++asked;
        return answer_;
    }
    int asked = 0;

private:
    std::string answer_;
};

TEST(QuestionsTest, DefaultsUntilInstalledThenTheNewestInstalled) {
    EXPECT_EQ(CurrentQuestions<PlanetQuestions>().AskPlanet(), std::nullopt);
    Answering outer("Mars");
    Answering inner("Venus");
    {
        // Installed as the set: the derived type names no registry of its own.
        const Subscription a = InstallQuestions<PlanetQuestions>(outer);
        EXPECT_EQ(CurrentQuestions<PlanetQuestions>().AskPlanet(), "Mars");
        {
            const Subscription b = InstallQuestions<PlanetQuestions>(inner);
            EXPECT_EQ(CurrentQuestions<PlanetQuestions>().AskPlanet(), "Venus");
        }
        EXPECT_EQ(CurrentQuestions<PlanetQuestions>().AskPlanet(), "Mars");
    }
    EXPECT_EQ(CurrentQuestions<PlanetQuestions>().AskPlanet(), std::nullopt);
    EXPECT_EQ(outer.asked, 2);
    EXPECT_EQ(inner.asked, 1);
}

}  // namespace
}  // namespace kestrum
