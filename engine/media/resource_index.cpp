// Reading resources.xml into the nine record lists.
#include <string>
#include <vector>

#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/value_parsers.h"
#include "engine/platform/xml_reader.h"

namespace {

const char* const DATA_FOLDER = "Resources/Data/";
const char* const INDEX_FILE = "resources.xml";

CoverageMask ReadCoverage(const std::string& text) {
    std::vector<std::int32_t> values;
    SplitToInts(text, ",", &values);
    CoverageMask mask = 0;
    for (const std::int32_t value : values) {
        mask |= CoverageBit(value);
    }
    return mask != 0 ? mask : COVERAGE_MAIN;
}

// Every kind shares the head; `withOnlyIntro` is false for the kinds that have
// no such attribute.
void ReadHead(XmlNode& node, const std::string& group, const std::string& prefix,
              bool withOnlyIntro, ResourceRecord& record) {
    record.id = node.attributes["id"];
    record.group = group;
    record.path = prefix + node.attributes["path"];
    record.coverage = ReadCoverage(node.attributes["coverage"]);
    if (withOnlyIntro) {
        ParseInt(node.attributes["only_intro"], &record.onlyIntro);
    }
}

void ReadFont(XmlNode& node, const std::string& group, const std::string& prefix, FontFormat format,
              FontRecord& font) {
    ReadHead(node, group, prefix, true, font);
    font.dataPath = prefix + node.attributes["data_path"];
    if (format == FONT_FORMAT_STRIP) {
        font.symbolsPath = prefix + node.attributes["symbols_path"];
        font.editing = node.attributes["editing"];
    }
    ParseFloat(node.attributes["interval"], &font.interval);
    ParseInt(node.attributes["height"], &font.height);
    ParseInt(node.attributes["max_length"], &font.maxLength);
    ParseInt(node.attributes["kerning"], &font.kerningTrim);
    font.format = format;
    font.colourKey = 0xFF000000;
}

}  // namespace

CoverageMask CoverageBit(std::int32_t value) {
    switch (value) {
        case -2:
            return COVERAGE_INTRO;
        case -1:
            return 0x4;
        case 0:
            return COVERAGE_MAIN;
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
            return 0x8u << (value - 1);
        default:
            return 0;
    }
}

bool CResourceManager::ReadIndex() {
    const std::string path = std::string(DATA_FOLDER) + INDEX_FILE;
    CXmlReader reader;
    if (!reader.Open(path)) {
        HtmlLog().Write("Red", "Couldn't open resource index file (%s)", path.c_str());
        return false;
    }

    // Records are dropped without releasing anything: the textures and sounds
    // they point to are the release operations' business.
    m_images.clear();
    m_meshes.clear();
    m_samples.clear();
    m_streams.clear();
    m_musics.clear();
    m_fonts.clear();
    m_animations2D.clear();
    m_animations3D.clear();
    m_shapes.clear();

    std::string group;
    std::string prefix;
    XmlNode node;
    while (reader.Read(node)) {
        if (node.type != XML_START_ELEMENT) {
            continue;
        }
        const std::string& name = node.name;
        if (name == "Resources") {
            group = node.attributes["type"];
        } else if (name == "SetDefaults") {
            prefix = node.attributes["path"];
        } else if (name == "Image") {
            ImageRecord image;
            ReadHead(node, group, prefix, true, image);
            const std::string alpha = node.attributes["alpha"];
            if (!alpha.empty()) {
                image.alpha = prefix + alpha;
            }
            std::uint32_t key = 0;
            ParseUnsigned(node.attributes["color_key"], &key);
            image.colourKey = key != 0 ? key : 0xFF000000;
            ParseFloat(node.attributes["x"], &image.x);
            ParseFloat(node.attributes["y"], &image.y);
            ParseBool(node.attributes["stretch"], &image.stretch);
            // Pictures grouped under an intro element serve the splash and
            // loading screens whatever their own coverage says.
            if (node.path.find("Intro") != std::string::npos) {
                image.coverage |= COVERAGE_INTRO;
            }
            m_images.push_back(std::move(image));
        } else if (name == "Mesh") {
            MeshRecord mesh;
            ReadHead(node, group, prefix, true, mesh);
            m_meshes.push_back(std::move(mesh));
        } else if (name == "Sample") {
            SampleRecord sample;
            ReadHead(node, group, prefix, true, sample);
            m_samples.push_back(std::move(sample));
        } else if (name == "Stream") {
            StreamRecord stream;
            ReadHead(node, group, prefix, true, stream);
            m_streams.push_back(std::move(stream));
        } else if (name == "Music") {
            MusicRecord music;
            ReadHead(node, group, prefix, true, music);
            SplitToUnsigned(node.attributes["track_list"], ", ", &music.trackList);
            m_musics.push_back(std::move(music));
        } else if (name == "Font") {
            FontRecord font;
            ReadFont(node, group, prefix, FONT_FORMAT_TEXT, font);
            m_fonts.push_back(std::move(font));
        } else if (name == "FontFi") {
            FontRecord font;
            ReadFont(node, group, prefix, FONT_FORMAT_STRIP, font);
            m_fonts.push_back(std::move(font));
        } else if (name == "Animation2D") {
            Animation2DRecord animation;
            ReadHead(node, group, prefix, false, animation);
            // The picture must be declared earlier in the file: it is looked
            // up in the lists as they stand now.
            animation.image = GetIndex(RESOURCE_IMAGE, node.attributes["image_id"]);
            ParseInt(node.attributes["width"], &animation.width);
            ParseInt(node.attributes["height"], &animation.height);
            ParseInt(node.attributes["f_width"], &animation.frameWidth);
            ParseInt(node.attributes["f_height"], &animation.frameHeight);
            m_animations2D.push_back(std::move(animation));
        } else if (name == "Animation3D") {
            Animation3DRecord animation;
            ReadHead(node, group, prefix, false, animation);
            m_animations3D.push_back(std::move(animation));
        } else if (name == "Shape") {
            ShapeRecord shape;
            ReadHead(node, group, prefix, false, shape);
            m_shapes.push_back(std::move(shape));
        }
    }
    return true;
}

std::int32_t CResourceManager::GetIndex(ResourceKind kind, const std::string& id) const {
    if (kind < 0 || kind >= RESOURCE_KIND_COUNT) {
        return -1;
    }
    const auto find = [&id](const auto& list) -> std::int32_t {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].id == id) {
                return static_cast<std::int32_t>(i);
            }
        }
        return -1;
    };
    // A miss continues into the following kinds' lists: the menus find their
    // fonts by asking for a music of that id.
    for (int k = kind; k < RESOURCE_KIND_COUNT; ++k) {
        std::int32_t index = -1;
        switch (k) {
            case RESOURCE_IMAGE:
                index = find(m_images);
                break;
            case RESOURCE_MESH:
                index = find(m_meshes);
                break;
            case RESOURCE_SAMPLE:
                index = find(m_samples);
                break;
            case RESOURCE_STREAM:
                index = find(m_streams);
                break;
            case RESOURCE_MUSIC:
                index = find(m_musics);
                break;
            case RESOURCE_FONT:
                index = find(m_fonts);
                break;
            case RESOURCE_ANIMATION_2D:
                index = find(m_animations2D);
                break;
            case RESOURCE_ANIMATION_3D:
                index = find(m_animations3D);
                break;
            default:
                index = find(m_shapes);
                break;
        }
        if (index >= 0) {
            return index;
        }
    }
    return -1;
}
