#include "shell/BenchmarkTimeline.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/GeometryOutput.h"
#include "platform/Gl.h"
#include "shell/OfflineShow.h"
#include "shell/SceneSchedule.h"

namespace {

constexpr GLenum kRasterizerDiscard = 0x8C89;  // OpenGL 3.0

}  // namespace

BenchmarkTimeline::BenchmarkTimeline(const OfflineShow& show, int startPosition) {
  const SceneSchedule schedule;
  firstMoment_.fill(-1.0);
  for (int position = std::max(startPosition, 0); position <= SceneSchedule::kLastPlayedPosition;
       ++position) {
    double& first = firstMoment_[size_t(schedule.sceneAt(position))];
    if (first < 0.0) first = show.secondsOfPosition(position);
  }
}

int BenchmarkTimeline::timedScene(double seconds) const {
  for (int scene = 0; scene < kSceneCount; ++scene) {
    const double first = firstMoment_[size_t(scene)];
    if (first >= 0.0 && seconds >= first && seconds < first + kSecondsPerScene) return scene;
  }
  return -1;
}

bool canDiscardRasterizer() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return version && std::atoi(version) >= 3;
}

void drawDiscardedFrame(OfflineShow& show, double seconds, bool canDiscard) {
  geometryOutput::setEnabled(false);
  if (canDiscard) {
    glEnable(kRasterizerDiscard);
  } else {
    glScissor(0, 0, 0, 0);
    glEnable(GL_SCISSOR_TEST);
  }
  show.drawFrame(seconds);
  glDisable(canDiscard ? kRasterizerDiscard : GL_SCISSOR_TEST);
  geometryOutput::setEnabled(true);
  // Hand the queued work over, so the driver holds no pile of frames.
  glFlush();
}
