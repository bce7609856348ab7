// The table of scenes: what a table must hold to make a schedule, the show's
// song covering the show's table, and a ninth scene that joins the show from
// its table row alone, as the recipe in docs/architecture.md adds one.
#include <cstdio>
#include <iterator>
#include <memory>
#include <vector>

#include "SceneFixture.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"
#include "shell/SceneSchedule.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

namespace {

// A scene drawn only in the tests: one plain colour, so that a frame says
// which scene the schedule picked.
class PlainScene : public Scene {
 public:
  using Scene::Scene;
  void render() override { const Frame frame(*this, 1.0f, 0.0f, 1.0f); }
};

std::unique_ptr<Scene> makePlainScene(ShowClock& clock) {
  return std::make_unique<PlainScene>(clock);
}

std::vector<uint8_t> readFile(const char* path) {
  std::vector<uint8_t> bytes;
  if (FILE* file = std::fopen(path, "rb")) {
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(uint8_t(c));
    std::fclose(file);
  }
  return bytes;
}

}  // namespace

TEST(SceneTable, SchedulesNeedEveryStepPlayedOnce) {
  const struct {
    const char* what;
    std::vector<SceneEntry> rows;
    bool valid;
  } tables[] = {
      {"one scene", {{"a", makePlainScene, 0, 0}}, true},
      {"two in either order", {{"a", makePlainScene, 2, 3}, {"b", makePlainScene, 0, 1}}, true},
      {"no rows", {}, false},
      {"a gap", {{"a", makePlainScene, 0, 1}, {"b", makePlainScene, 3, 4}}, false},
      {"an overlap", {{"a", makePlainScene, 0, 2}, {"b", makePlainScene, 2, 4}}, false},
      {"not from step 0", {{"a", makePlainScene, 1, 2}}, false},
      {"steps backwards", {{"a", makePlainScene, 0, 1}, {"b", makePlainScene, 3, 2}}, false},
      {"no factory", {{"a", nullptr, 0, 1}}, false},
  };
  for (const auto& table : tables)
    EXPECT_EQ(SceneTable(table.rows).playsEveryStepOnce(), table.valid) << table.what;

  // A schedule bends a gap rather than read outside its entries: the step
  // no row plays shows the scene before it.
  const std::vector<SceneEntry> gap = {{"a", makePlainScene, 0, 1}, {"b", makePlainScene, 3, 4}};
  const SceneSchedule schedule{SceneTable(gap)};
  EXPECT_EQ(schedule.lastPlayedPosition(), 4);
  const int expected[] = {0, 0, 0, 1, 1, 1};
  for (int position = 0; position < 6; ++position)
    EXPECT_EQ(schedule.sceneAt(position), expected[position]) << position;
}

// The song's own length bounds the table: every order list reaches past the
// last scheduled step, and every scene opens on something new in the music.
TEST(SceneTable, ShowSongCoversTheShowsTable) {
  const std::vector<uint8_t> image = readFile(KYL_BINARY_DIR "/data/show/brumtakt");
  if (image.empty()) GTEST_SKIP() << "the show's content is not built";
  Synth synth;
  const SongLoadResult loaded = loadSong(synth, image.data(), image.size());
  ASSERT_TRUE(loaded.song);
  const Song& song = *loaded.song;
  const SceneTable table(kShowScenes);
  for (const OrderList& list : song.orderLists) EXPECT_GT(list.length, table.lastStep());
  for (const SceneEntry& row : table) {
    bool starts = false;
    for (int k = 0; k < Synth::kRenderedChannels; ++k)
      starts = starts || song.orderLists[size_t(k)].steps[size_t(row.firstStep)].pattern != 0;
    EXPECT_TRUE(starts) << row.name << " opens on step " << row.firstStep;
  }
  EXPECT_EQ(SceneSchedule::kLastPlayedPosition, table.lastStep());
}

// The recipe: a scene's files (here PlainScene), a factory and a row.
// Nothing else names it, yet it is built in its place, scheduled on its
// steps, drawn there, and moves the show's end.
TEST_F(SceneTest, ANinthSceneJoinsFromItsRowAlone) {
  std::vector<SceneEntry> rows(std::begin(kShowScenes), std::end(kShowScenes));
  rows.push_back({"PlainScene", makePlainScene, 23, 24});
  const SceneTable table(rows);
  ASSERT_TRUE(table.playsEveryStepOnce());

  const SceneSchedule schedule(table);
  EXPECT_EQ(schedule.lastPlayedPosition(), 24);
  EXPECT_EQ(schedule.sceneAt(22), 6) << "the show's own scenes keep their steps";
  for (int position : {23, 24, 25, 1000}) EXPECT_EQ(schedule.sceneAt(position), kSceneCount);

  const SceneArray scenes = constructScenes(table, clock);
  ASSERT_EQ(scenes.size(), size_t(kSceneCount + 1));
  EXPECT_TRUE(allPixels(frame(*scenes[size_t(schedule.sceneAt(23))], 10.0, 3), 255, 0, 255, 0));
  EXPECT_FALSE(allPixels(frame(*scenes[size_t(schedule.sceneAt(22))], 10.0, 3), 255, 0, 255, 0));
}
