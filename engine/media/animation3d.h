#pragma once
// A keyframed node hierarchy read from a MaxAnimation file: named nodes, each
// with its own track of position, rotation and scale keys and a parent given by
// name. Every Animation3D resource owns one. The game keeps the data but plays
// none of it; playback (interpolation, looping, ping-pong, the parent chain) is
// here for the meshes that may use it.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/media/node_math.h"
#include "engine/platform/geometry.h"

struct AnimationKey {
    Vec3 position;
    Quaternion rotation;
    Vec3 scale{1.0f, 1.0f, 1.0f};
    // Towards the next key; zero for the last key.
    Vec3 positionDelta;
    Quaternion rotationDelta;  // normalised difference; not read by playback
    Quaternion nextRotation;
    Vec3 scaleDelta;
    float duration = 0.0f;  // frames to the next key, 0 for the last key
    float startFrame = 0.0f;
};

struct AnimationNode {
    // false when the node has no keys.
    bool Play(bool rewind, bool pingPong, bool loop);
    void Pause() { paused = true; }
    void Resume() { paused = false; }
    void Reset();

    std::vector<AnimationKey> keys;
    std::string name;
    std::string parentName;
    // Orders a node behind its parent: the parent's key, '.', its own index.
    std::string sortKey;
    Matrix4 inverseBind = MatrixIdentity();
    Matrix4 local = MatrixIdentity();
    // The inverse bind matrices of the node and its ancestors, multiplied.
    Matrix4 chain = MatrixIdentity();
    Matrix4 world = MatrixIdentity();
    std::int32_t parent = -1;
    std::int32_t currentKey = 0;
    float fraction = 0.0f;  // position inside the current key, 0..1
    float rate = 20.0f;     // frames per second
    bool loop = false;
    bool paused = false;
    bool pingPong = false;
    std::int32_t direction = 0;  // +1 forward, -1 backward, 0 stopped
};

// One transform sample of a node's track while its file is read.
struct AnimationSample {
    std::int32_t frame = 0;
    float delta[4] = {};  // per frame, towards the next sample
    float value[4] = {};  // w is 0 for positions and scales
    std::int32_t duration = 0;
    bool keep = false;
};

class CAnimation3D {
public:
    CAnimation3D() = default;

    // Replaces the nodes with those of the file; returns the number of Node
    // elements read (dropped nodes included), 0 when the file does not open.
    int LoadMaxAnimation(const std::string& path);
    void Reset();

    void PlayAll(bool rewind, bool pingPong, bool loop);
    // Advances every node by a x b frames' worth of its rate (callers pass the
    // elapsed seconds and a speed factor).
    void Update(float a, float b);
    void UpdateNode(int index, float a, float b);
    void PauseAll();
    void ResumeAll();
    // index -1: whether every node plays (true for no nodes).
    bool IsPlaying(int index) const;

    const std::vector<AnimationNode>& GetNodes() const { return m_nodes; }

private:
    std::vector<AnimationNode> m_nodes;
};
