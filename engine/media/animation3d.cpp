#include "engine/media/animation3d.h"

#include <algorithm>
#include <cstdio>

#include "engine/platform/html_log.h"
#include "engine/platform/value_parsers.h"
#include "engine/platform/xml_reader.h"

namespace {

constexpr const char* ROOT_PATH = "MaxAnimation";
constexpr const char* SAMPLES_PATH = "MaxAnimation/Node/Controller/Samples";
constexpr const char* KEYS_PATH = "MaxAnimation/Node/Controller/Keys";

bool BeginsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The numbers of a `v` attribute; missing ones read as 0, extra ones are
// ignored.
void ReadValues(const std::string& text, int count, float (&values)[4]) {
    std::vector<float> numbers;
    SplitToFloats(text, " ", &numbers);
    for (int i = 0; i < 4; ++i) {
        values[i] = (i < count && i < static_cast<int>(numbers.size())) ? numbers[i] : 0.0f;
    }
}

Vec3 ToVec3(const float (&v)[4]) {
    return {v[0], v[1], v[2]};
}
Quaternion ToQuaternion(const float (&v)[4]) {
    return {v[0], v[1], v[2], v[3]};
}
Vec3 Difference(const Vec3& a, const Vec3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// Frames to go from one sample to the next. Frames may lie anywhere in the
// 32-bit range, so the difference is taken in 64 bits.
std::int64_t FramesBetween(const AnimationSample& from, const AnimationSample& to) {
    return std::int64_t{to.frame} - from.frame;
}

float& Component(Vec3& v, int i) {
    return i == 0 ? v.x : (i == 1 ? v.y : v.z);
}
float& Component(Quaternion& q, int i) {
    return i == 0 ? q.x : (i == 1 ? q.y : q.z);
}

// The tracks of the node being read.
struct NodeTracks {
    std::vector<AnimationSample> positions;
    std::vector<AnimationSample> rotations;
    std::vector<AnimationSample> scales;
    std::vector<std::int32_t> keyTimes;

    void Clear() {
        positions.clear();
        rotations.clear();
        scales.clear();
        keyTimes.clear();
    }
};

// The scale track brought onto the frames of the position samples.
std::vector<AnimationSample> ResampleScales(std::vector<AnimationSample>& scales,
                                            const std::vector<AnimationSample>& positions) {
    if (scales.empty()) {
        scales.push_back(AnimationSample{});
    }
    for (std::size_t i = 0; i + 1 < scales.size(); ++i) {
        AnimationSample& sample = scales[i];
        const std::int64_t duration = FramesBetween(sample, scales[i + 1]);
        sample.duration = SaturateToInt32(duration);
        // Two samples on one frame: the step between them takes no frames and
        // adds nothing per frame.
        for (int c = 0; c < 4; ++c) {
            sample.delta[c] = duration != 0 ? (scales[i + 1].value[c] - sample.value[c]) /
                                                  static_cast<float>(duration)
                                            : 0.0f;
        }
    }
    std::vector<AnimationSample> resampled;
    float running[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    std::size_t cursor = 0;
    for (const AnimationSample& position : positions) {
        if (cursor + 1 < scales.size() && scales[cursor + 1].frame == position.frame) {
            ++cursor;
        }
        const AnimationSample& scale = scales[cursor];
        for (int c = 0; c < 4; ++c) {
            running[c] =
                scale.frame == position.frame ? scale.value[c] : running[c] + scale.delta[c];
        }
        AnimationSample sample;
        sample.frame = position.frame;
        std::copy(std::begin(running), std::end(running), std::begin(sample.value));
        std::copy(std::begin(scale.delta), std::end(scale.delta), std::begin(sample.delta));
        resampled.push_back(sample);
    }
    return resampled;
}

// Turns the tracks into keys: only the samples on key times (and the first
// and last) stay. False when the position and rotation tracks disagree.
bool FinishNode(NodeTracks& tracks, AnimationNode& node) {
    std::sort(tracks.keyTimes.begin(), tracks.keyTimes.end());
    tracks.keyTimes.erase(std::unique(tracks.keyTimes.begin(), tracks.keyTimes.end()),
                          tracks.keyTimes.end());
    if (tracks.positions.size() != tracks.rotations.size()) {
        HtmlLog().Write("Red", "Animation sets is difference");
        return false;
    }
    std::vector<AnimationSample> scales = ResampleScales(tracks.scales, tracks.positions);
    std::vector<AnimationSample>& positions = tracks.positions;
    std::vector<AnimationSample>& rotations = tracks.rotations;

    if (!tracks.keyTimes.empty() && !positions.empty()) {
        for (std::int32_t time : tracks.keyTimes) {
            for (AnimationSample& sample : positions) {
                if (sample.frame == time) {
                    sample.keep = true;
                }
            }
        }
        positions.front().keep = true;
        positions.back().keep = true;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (positions[i].keep) {
            positions[kept] = positions[i];
            rotations[kept] = rotations[i];
            scales[kept] = scales[i];
            ++kept;
        }
    }
    positions.resize(kept);
    rotations.resize(kept);
    scales.resize(kept);

    for (std::size_t i = 0; i < kept; ++i) {
        AnimationKey key;
        key.position = ToVec3(positions[i].value);
        key.rotation = QuaternionNormalize(ToQuaternion(rotations[i].value));
        key.scale = ToVec3(scales[i].value);
        key.startFrame = static_cast<float>(positions[i].frame);
        if (i + 1 < kept) {
            key.duration = static_cast<float>(FramesBetween(positions[i], positions[i + 1]));
            key.positionDelta = Difference(ToVec3(positions[i + 1].value), key.position);
            const Quaternion next = ToQuaternion(rotations[i + 1].value);
            const Quaternion own = ToQuaternion(rotations[i].value);
            key.rotationDelta = QuaternionNormalize(
                {next.x - own.x, next.y - own.y, next.z - own.z, next.w - own.w});
            key.nextRotation = QuaternionNormalize(next);
            key.scaleDelta = Difference(ToVec3(scales[i + 1].value), key.scale);
        } else {
            key.duration = 0.0f;
            key.rotationDelta = {0.0f, 0.0f, 0.0f, 1.0f};
            key.nextRotation = key.rotation;
        }
        node.keys.push_back(key);
    }
    return true;
}

// Exporters write their own axis order ("x", "z", "-y"); component j of every
// vector is taken from the axis that entry j names.
void RemapAxes(std::vector<AnimationNode>& nodes, const std::vector<std::string>& axes) {
    const int count = std::min<int>(3, static_cast<int>(axes.size()));
    int source[3] = {0, 1, 2};
    float sign[3] = {1.0f, 1.0f, 1.0f};
    for (int j = 0; j < count; ++j) {
        const std::string& axis = axes[j];
        const bool negative = axis.find("-x") != std::string::npos ||
                              axis.find("-y") != std::string::npos ||
                              axis.find("-z") != std::string::npos;
        sign[j] = negative ? -1.0f : 1.0f;
        source[j] = axis.find('z') != std::string::npos   ? 2
                    : axis.find('y') != std::string::npos ? 1
                                                          : 0;
    }
    const auto remap = [&](auto& v) {
        auto before = v;
        for (int j = 0; j < count; ++j) {
            Component(v, j) = sign[j] * Component(before, source[j]);
        }
    };
    for (AnimationNode& node : nodes) {
        for (AnimationKey& key : node.keys) {
            remap(key.position);
            remap(key.positionDelta);
            remap(key.rotation);
            remap(key.rotationDelta);
            remap(key.nextRotation);
        }
    }
}

}  // namespace

bool AnimationNode::Play(bool rewind, bool pingPongFlag, bool loopFlag) {
    if (keys.empty()) {
        return false;
    }
    if (rewind) {
        currentKey = 0;
    }
    loop = loopFlag;
    pingPong = pingPongFlag;
    direction = 1;
    paused = false;
    fraction = 0.0f;
    return true;
}

void AnimationNode::Reset() {
    currentKey = 0;
    fraction = 0.0f;
    rate = 20.0f;
    loop = false;
    paused = false;
    pingPong = false;
    direction = 0;
    inverseBind = MatrixIdentity();
    local = MatrixIdentity();
    chain = MatrixIdentity();
    world = MatrixIdentity();
    parent = -1;
    keys.clear();
}

int CAnimation3D::LoadMaxAnimation(const std::string& path) {
    m_nodes.clear();
    std::int32_t ticksPerFrame = 1;
    std::vector<std::string> axes;

    CXmlReader reader;
    if (!reader.Open(path)) {
        return 0;
    }
    const auto attribute = [](const XmlNode& element, const char* name) {
        const auto found = element.attributes.find(name);
        return found != element.attributes.end() ? found->second : std::string();
    };
    // A ticksPerFrame of 0 or less would divide by nothing or turn time round.
    const auto frameOf = [&](const XmlNode& element) {
        std::int32_t ticks = 0;
        ParseInt(attribute(element, "t"), &ticks);
        return ticks / (ticksPerFrame > 0 ? ticksPerFrame : 1);
    };

    int nodeCount = 0;
    std::int32_t parentIndex = 0;  // a Node without the attribute keeps the previous value
    AnimationNode working;
    NodeTracks tracks;
    XmlNode element;
    while (reader.Read(element)) {
        if (element.type == XML_END_ELEMENT) {
            if (element.name == "Node" && BeginsWith(element.path, ROOT_PATH)) {
                if (FinishNode(tracks, working)) {
                    m_nodes.push_back(working);
                }
            }
            continue;
        }
        if (element.type != XML_START_ELEMENT) {
            continue;
        }
        const std::string& name = element.name;
        if (name == "CustomData" && BeginsWith(element.path, ROOT_PATH)) {
            SplitToStrings(attribute(element, "world_axes"), ",", &axes);
        } else if (name == "SceneInfo" && BeginsWith(element.path, ROOT_PATH)) {
            ParseInt(attribute(element, "ticksPerFrame"), &ticksPerFrame);
        } else if (name == "Node" && BeginsWith(element.path, ROOT_PATH)) {
            ++nodeCount;
            tracks.Clear();
            working = AnimationNode{};
            working.name = attribute(element, "name");
            ParseInt(attribute(element, "parentNodeIndex"), &parentIndex);
            working.parentName = attribute(element, "parentNode");
            const auto parent = std::find_if(
                m_nodes.begin(), m_nodes.end(),
                [&](const AnimationNode& node) { return node.name == working.parentName; });
            working.sortKey = parent != m_nodes.end()
                                  ? parent->sortKey + "." + std::to_string(parentIndex)
                                  : std::to_string(parentIndex);
        } else if ((name == "P3Val" || name == "RVal" || name == "SVal") &&
                   BeginsWith(element.path, SAMPLES_PATH)) {
            AnimationSample sample;
            sample.frame = frameOf(element);
            ReadValues(attribute(element, "v"), name == "RVal" ? 4 : 3, sample.value);
            (name == "P3Val" ? tracks.positions
                             : (name == "RVal" ? tracks.rotations : tracks.scales))
                .push_back(sample);
        } else if (name == "K" && BeginsWith(element.path, KEYS_PATH)) {
            AnimationSample sample;
            sample.frame = frameOf(element);
            ReadValues(attribute(element, "v"), 3, sample.value);
            tracks.scales.push_back(sample);
            tracks.keyTimes.push_back(sample.frame);
        } else if (name == "Key" && BeginsWith(element.path, KEYS_PATH)) {
            tracks.keyTimes.push_back(frameOf(element));
        }
    }

    std::stable_sort(
        m_nodes.begin(), m_nodes.end(),
        [](const AnimationNode& a, const AnimationNode& b) { return a.sortKey < b.sortKey; });
    RemapAxes(m_nodes, axes);

    for (AnimationNode& node : m_nodes) {
        node.world = MatrixIdentity();
        node.local = MatrixIdentity();
        node.inverseBind = MatrixIdentity();
        if (!node.keys.empty()) {
            const AnimationKey& first = node.keys.front();
            Quaternion inverse = first.rotation;
            inverse.w = -inverse.w;
            node.inverseBind = MatrixMultiply(
                MatrixTranslation(-first.position.x, -first.position.y, -first.position.z),
                MatrixRotationQuaternion(inverse));
        }
    }
    for (AnimationNode& node : m_nodes) {
        const auto parent =
            std::find_if(m_nodes.begin(), m_nodes.end(),
                         [&](const AnimationNode& other) { return other.name == node.parentName; });
        node.parent =
            parent != m_nodes.end() ? static_cast<std::int32_t>(parent - m_nodes.begin()) : -1;
    }
    // A file may name parents in a circle; no real chain is longer than the
    // node list, so the walk stops there.
    const std::size_t maxSteps = m_nodes.size();
    for (AnimationNode& node : m_nodes) {
        node.chain = node.inverseBind;
        std::int32_t ancestor = node.parent;
        for (std::size_t step = 0; ancestor >= 0 && step < maxSteps; ++step) {
            node.chain = MatrixMultiply(m_nodes[ancestor].inverseBind, node.chain);
            ancestor = m_nodes[ancestor].parent;
        }
    }
    HtmlLog().Write("Gray", "Loading animation: (%s) complete", path.c_str());
    return nodeCount;
}

void CAnimation3D::Reset() {
    for (AnimationNode& node : m_nodes) {
        node.Reset();
    }
    m_nodes.clear();
}

void CAnimation3D::PlayAll(bool rewind, bool pingPong, bool loop) {
    for (AnimationNode& node : m_nodes) {
        node.Play(rewind, pingPong, loop);
    }
}

void CAnimation3D::Update(float a, float b) {
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        UpdateNode(static_cast<int>(i), a, b);
    }
}

void CAnimation3D::UpdateNode(int index, float a, float b) {
    if (index < 0 || index >= static_cast<int>(m_nodes.size())) {
        return;
    }
    AnimationNode& node = m_nodes[index];
    if (node.direction == 0 || node.paused || node.keys.empty()) {
        return;
    }
    const int count = static_cast<int>(node.keys.size());
    node.currentKey = std::clamp(node.currentKey, 0, count - 1);
    const float duration = node.keys[node.currentKey].duration;
    // A key without duration (the last one, or two samples on one frame) is
    // passed at once.
    node.fraction = duration > 0.0f ? node.fraction + node.rate / duration * a * b : 1.0f;
    if (node.fraction >= 1.0f) {
        node.fraction = 0.0f;
        node.currentKey += node.direction;
        if (node.currentKey > count - 1) {
            if (node.pingPong) {
                node.direction = -1;
                node.currentKey = std::max(count - 2, 0);
            } else if (node.loop) {
                node.currentKey = 0;
            } else {
                node.direction = 0;
                node.currentKey = count - 1;
            }
        } else if (node.currentKey < 0) {
            node.currentKey = 0;
            node.direction = node.loop ? 1 : 0;
        }
    }
    const float t = node.direction < 0 ? 1.0f - node.fraction : node.fraction;
    const AnimationKey& key = node.keys[node.currentKey];
    const Vec3 scale{key.scale.x + t * key.scaleDelta.x, key.scale.y + t * key.scaleDelta.y,
                     key.scale.z + t * key.scaleDelta.z};
    const Vec3 position{key.position.x + t * key.positionDelta.x,
                        key.position.y + t * key.positionDelta.y,
                        key.position.z + t * key.positionDelta.z};
    const Quaternion rotation = QuaternionSlerp(key.rotation, key.nextRotation, t);
    node.local = MatrixMultiply(MatrixMultiply(MatrixScaling(scale.x, scale.y, scale.z),
                                               MatrixRotationQuaternion(rotation)),
                                MatrixTranslation(position.x, position.y, position.z));
    if (node.parent < 0) {
        node.world = MatrixMultiply(node.inverseBind, node.local);
        return;
    }
    Matrix4 m = node.local;
    std::int32_t ancestor = node.parent;
    for (std::size_t step = 0; ancestor >= 0 && step < m_nodes.size(); ++step) {
        m = MatrixMultiply(m, m_nodes[ancestor].local);
        ancestor = m_nodes[ancestor].parent;
    }
    node.world = MatrixMultiply(node.chain, m);
}

void CAnimation3D::PauseAll() {
    for (AnimationNode& node : m_nodes) {
        node.Pause();
    }
}

void CAnimation3D::ResumeAll() {
    for (AnimationNode& node : m_nodes) {
        node.Resume();
    }
}

bool CAnimation3D::IsPlaying(int index) const {
    const auto playing = [](const AnimationNode& node) {
        return node.direction != 0 && !node.paused;
    };
    if (index == -1) {
        return std::all_of(m_nodes.begin(), m_nodes.end(), playing);
    }
    if (index < 0 || index >= static_cast<int>(m_nodes.size())) {
        return false;
    }
    return playing(m_nodes[index]);
}
