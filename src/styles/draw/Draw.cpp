#include "styles/draw/Draw.h"

#include <algorithm>
#include <typeinfo>

#include "color/VaryColor.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/StyleScene.h"
#include "styles/draw/DrawCells.h"
#include "styles/line/Line.h"

namespace {

constexpr int kBrushKind = 6;
constexpr float kWholeSquare = 2.0f;

}  // namespace

Draw::Draw(StyleScene* scene) : Saver(scene) {
    m_pLine = MakeLineKind(kBrushKind, m_random);
    for (DrawCommandList& list : m_lists) compose(m_random, list);
    const Settings* settings = sceneHost().settings();
    m_pVaryColor = CreateVaryColor(m_random, settings->choosers());
    const long long maxTime = settings->maxTime();
    m_dwDuration = static_cast<uint32_t>(std::clamp(maxTime * 1000, 0LL, static_cast<long long>(UINT32_MAX)));
    // The whole composition takes a few milliseconds to draw: it is paced a
    // step a segment, and the finished picture stays for its time.
    m_bKeepTime = true;
}

Draw::~Draw() {
    // Later commands refer to earlier ones: the last go first.
    for (DrawCommandList& list : m_lists)
        while (!list.empty()) list.pop_back();
}

void Draw::compose(RandomSource& random, DrawCommandList& list) {
    const int n = random.below(8) + 2;
    float size = kWholeSquare;
    for (int i = 0; i < n; ++i) {
        trace("%s line %d : fSize = %f", "Draw", 39, static_cast<double>(size));
        std::unique_ptr<DrawCommand> command = CreateDrawCommand(random, size, size, i - 1, list);
        size = nextSize(size, *command);
        list.push_back(std::move(command));
    }
}

float Draw::nextSize(float size, const DrawCommand& command) {
    if (!command.changesSize()) return size;
    return std::max(0.0f, size * command.sizeFactor() - command.sizeOffset());
}

void Draw::step() {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    while (m_iPass < 2 && m_pScene->isIdle() && !isDone()) {
        const DrawCommandList& commands = list(m_iPass);
        while (m_iCommand < commands.size() && m_pScene->isIdle() && !isDone()) {
            DrawCommand& command = *commands[m_iCommand];
            if (!m_bTraced) {
                traceMade("Draw", 58, "(typeid(rDrawCommand).name())", typeid(command).name());
                m_bTraced = true;
            }
            bool more = true;
            while (m_pScene->isIdle() && !isDone()) {
                more = command.next(*this, *m_pLine, x1, y1, x2, y2);
                if (!more) break;
                const Color color = m_pVaryColor->vary(m_crBase, x1, y1, x2, y2);
                drawSegmentInCells(*m_pScene, *m_pLine, m_iGroup, m_iPass, x1, y1, x2, y2, color);
                waitStep();
            }
            if (more) return;  // input or the time: go on with this command
            ++m_iCommand;
            m_bTraced = false;
        }
        if (m_iCommand < commands.size()) return;
        waitStep();
        ++m_iPass;
        m_iCommand = 0;
    }
    if (m_iPass >= 2 && m_pScene->isIdle()) m_bDone = true;
}
