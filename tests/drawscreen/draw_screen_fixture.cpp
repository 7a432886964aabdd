#include "draw_screen_fixture.h"

#include "audio/media_player.h"

#include <QTextEdit>

QString DrawScreenTest::lastResult() const
{
    const QStringList lines = screen->parts().resultsList->toPlainText().split('\n');
    return screen->resultsCount() == 0 ? QString() : lines.last();
}

namespace {

// The draw screens of these tests play as though the machine had a sound output, whether or
// not it has one, so that no case meets the notice of a missing one unless it asks for it.
class SoundOutputPresent : public ::testing::Environment
{
    void SetUp() override { MediaPlayer::setSoundOutputForTesting(true); }
    void TearDown() override { MediaPlayer::setSoundOutputForTesting(std::nullopt); }
};

const auto* const soundOutputPresent = ::testing::AddGlobalTestEnvironment(new SoundOutputPresent);

} // namespace
