#include "SkinSet.h"

#include "Files.h"
#include "Palette.h"
#include "PngWriter.h"
#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <vector>

namespace assetbuilder
{

namespace
{

const int kAtlasWidth = 512;
const int kAtlasHeight = 512;
const char* kTexture = "kb_skin.png";

struct Cell
{
    int x = 0, y = 0, w = 0, h = 0;
};

// Row-by-row packing with a gap, so linear filtering never samples a neighbour.
class Packer
{
public:
    Cell Allocate(int w, int h)
    {
        if (m_x + w + kGap > kAtlasWidth)
        {
            m_x = kGap;
            m_y += m_rowHeight + kGap;
            m_rowHeight = 0;
        }
        Cell c{m_x, m_y, w, h};
        m_x += w + kGap;
        m_rowHeight = std::max(m_rowHeight, h);
        if (m_y + h > kAtlasHeight)
            std::fprintf(stderr, "assetbuilder: skin atlas overflow\n");
        return c;
    }

private:
    static const int kGap = 3;
    int m_x = kGap;
    int m_y = kGap;
    int m_rowHeight = 0;
};

const std::vector<std::string> kButtonStates = {"disabled",         "normal",         "highlighted",         "pushed",
                                                "disabled_checked", "normal_checked", "highlighted_checked", "pushed_checked"};
const std::vector<std::string> kPlainStates = {"disabled", "normal", "highlighted", "pushed"};

std::string Coord(int x, int y, int w, int h)
{
    std::ostringstream s;
    s << x << ' ' << y << ' ' << w << ' ' << h;
    return s.str();
}

std::string ColourText(const Colour& c)
{
    char buf[64];
    std::snprintf(buf, sizeof(buf), "%.3f %.3f %.3f", c.r, c.g, c.b);
    return buf;
}

struct TextStyle
{
    Colour normal = palette::White();
    Colour highlighted = palette::White();
    Colour pushed = palette::White();
    Colour disabled = Colour::Hex(0x9AA0A6);
    Colour checked = palette::Ink();
    int pushShift = 1;
};

class SkinXml
{
public:
    std::string Text() const { return m_out.str() + "</MyGUI>\n"; }

    SkinXml() { m_out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<MyGUI type=\"Resource\" version=\"1.1\">\n"; }

    void Begin(const std::string& name, int w, int h, bool textured = true)
    {
        m_out << "\t<Resource type=\"ResourceSkin\" name=\"" << name << "\" size=\"" << w << ' ' << h << "\"";
        if (textured)
            m_out << " texture=\"" << kTexture << "\"";
        m_out << ">\n";
    }
    void Property(const std::string& key, const std::string& value)
    {
        m_out << "\t\t<Property key=\"" << key << "\" value=\"" << value << "\"/>\n";
    }
    void End() { m_out << "\t</Resource>\n"; }

    // Nine pieces; each state names the top-left of its copy of the frame in the atlas.
    // A hollow frame (a ring around what it marks) has no centre piece.
    void NineSlice(int w, int h, int corner, const std::vector<std::string>& states, const std::vector<Cell>& cells,
                   bool hollow = false)
    {
        int c = corner;
        struct Piece
        {
            int x, y, w, h;
            const char* align;
        };
        const Piece pieces[] = {
            {0, 0, c, c, "Left Top"},
            {c, 0, w - 2 * c, c, "HStretch Top"},
            {w - c, 0, c, c, "Right Top"},
            {0, c, c, h - 2 * c, "Left VStretch"},
            {c, c, w - 2 * c, h - 2 * c, "Stretch"},
            {w - c, c, c, h - 2 * c, "Right VStretch"},
            {0, h - c, c, c, "Left Bottom"},
            {c, h - c, w - 2 * c, c, "HStretch Bottom"},
            {w - c, h - c, c, c, "Right Bottom"},
        };
        for (const Piece& p : pieces)
        {
            if (hollow && p.x == c && p.y == c)
                continue;
            m_out << "\t\t<BasisSkin type=\"SubSkin\" offset=\"" << Coord(p.x, p.y, p.w, p.h) << "\" align=\"" << p.align << "\">\n";
            // The atlas copy may be smaller than the skin: stretched pieces keep the atlas size.
            for (size_t i = 0; i < states.size(); ++i)
            {
                const Cell& cell = cells[i];
                int ax = p.x == 0 ? 0 : (p.x == w - c ? cell.w - c : c);
                int ay = p.y == 0 ? 0 : (p.y == h - c ? cell.h - c : c);
                int aw = p.w == c ? c : cell.w - 2 * c;
                int ah = p.h == c ? c : cell.h - 2 * c;
                m_out << "\t\t\t<State name=\"" << states[i] << "\" offset=\""
                      << Coord(cell.x + ax, cell.y + ay, aw, ah) << "\"/>\n";
            }
            m_out << "\t\t</BasisSkin>\n";
        }
    }

    void Whole(int w, int h, const std::string& align, const std::vector<std::string>& states, const std::vector<Cell>& cells)
    {
        m_out << "\t\t<BasisSkin type=\"SubSkin\" offset=\"" << Coord(0, 0, w, h) << "\" align=\"" << align << "\">\n";
        for (size_t i = 0; i < states.size(); ++i)
            m_out << "\t\t\t<State name=\"" << states[i] << "\" offset=\"" << Coord(cells[i].x, cells[i].y, cells[i].w, cells[i].h)
                  << "\"/>\n";
        m_out << "\t\t</BasisSkin>\n";
    }

    void Part(int x, int y, int w, int h, const std::string& align, const std::vector<std::string>& states,
              const std::vector<Cell>& cells)
    {
        m_out << "\t\t<BasisSkin type=\"SubSkin\" offset=\"" << Coord(x, y, w, h) << "\" align=\"" << align << "\">\n";
        for (size_t i = 0; i < states.size(); ++i)
            m_out << "\t\t\t<State name=\"" << states[i] << "\" offset=\"" << Coord(cells[i].x, cells[i].y, cells[i].w, cells[i].h)
                  << "\"/>\n";
        m_out << "\t\t</BasisSkin>\n";
    }

    void Text(int x, int y, int w, int h, const TextStyle& style, bool withChecked)
    {
        m_out << "\t\t<BasisSkin type=\"SimpleText\" offset=\"" << Coord(x, y, w, h) << "\" align=\"Stretch\">\n";
        auto state = [&](const char* name, const Colour& c, int shift) {
            m_out << "\t\t\t<State name=\"" << name << "\" colour=\"" << ColourText(c) << "\" shift=\"" << shift << "\"/>\n";
        };
        state("disabled", style.disabled, 0);
        state("normal", style.normal, 0);
        state("highlighted", style.highlighted, 0);
        state("pushed", style.pushed, style.pushShift);
        if (withChecked)
        {
            state("disabled_checked", style.disabled, 0);
            state("normal_checked", style.checked, 0);
            state("highlighted_checked", style.checked, 0);
            state("pushed_checked", style.checked, style.pushShift);
        }
        m_out << "\t\t</BasisSkin>\n";
    }

    void PlainText(const std::string& type, int x, int y, int w, int h, const Colour& c)
    {
        m_out << "\t\t<BasisSkin type=\"" << type << "\" offset=\"" << Coord(x, y, w, h) << "\" align=\"Stretch\">\n";
        m_out << "\t\t\t<State name=\"normal\" colour=\"" << ColourText(c) << "\"/>\n";
        m_out << "\t\t\t<State name=\"disabled\" colour=\"" << ColourText(c.Scaled(0.6f)) << "\"/>\n";
        m_out << "\t\t</BasisSkin>\n";
    }

    void Raw(const std::string& text) { m_out << text; }

private:
    std::ostringstream m_out;
};

// Frame painters. Each draws one state of a frame into its cell.
using FramePainter = std::function<void(Raster&, const Cell&, int state)>;

std::vector<Cell> PaintStates(Raster& atlas, Packer& packer, int w, int h, int count, const FramePainter& paint)
{
    std::vector<Cell> cells;
    for (int i = 0; i < count; ++i)
    {
        Cell c = packer.Allocate(w, h);
        paint(atlas, c, i);
        cells.push_back(c);
    }
    return cells;
}

struct ButtonLook
{
    Colour top, bottom, border;
    float borderWidth;
};

void PaintButton(Raster& r, const Cell& c, const ButtonLook& look, float radius)
{
    float x = static_cast<float>(c.x), y = static_cast<float>(c.y), w = static_cast<float>(c.w), h = static_cast<float>(c.h);
    r.FillRoundRect(x, y, w, h, radius, [&](float, float py) { return look.top.Lerp(look.bottom, std::clamp((py - y) / h, 0.0f, 1.0f)); });
    // Soft highlight along the upper edge gives the plates some depth.
    r.FillRoundRect(x + 3, y + 2, w - 6, 2, 1, Colour(1, 1, 1, 0.28f));
    r.StrokeRoundRect(x, y, w, h, radius, look.borderWidth, look.border);
}

// Orange primary button; checked states are signal yellow.
ButtonLook PrimaryLook(int state)
{
    switch (state)
    {
    case 0: return {Colour::Hex(0x5E646B), Colour::Hex(0x4A4F55), Colour::Hex(0x35393E), 2.0f};
    case 1: return {Colour::Hex(0xFF8A2E), Colour::Hex(0xDD5A0C), Colour::Hex(0x7E3205), 2.0f};
    case 2: return {Colour::Hex(0xFFA54A), Colour::Hex(0xF06F1A), palette::Yellow(), 3.0f};
    case 3: return {Colour::Hex(0xB8480A), Colour::Hex(0xD7631A), Colour::Hex(0x5E2403), 2.0f};
    case 4: return {Colour::Hex(0x6B6A5E), Colour::Hex(0x57564C), Colour::Hex(0x3C3B33), 2.0f};
    case 5: return {Colour::Hex(0xFFD84A), Colour::Hex(0xE8AE00), Colour::Hex(0x7A5A00), 2.0f};
    case 6: return {Colour::Hex(0xFFE37A), Colour::Hex(0xF5BE10), palette::White(), 3.0f};
    default: return {Colour::Hex(0xD49E00), Colour::Hex(0xE8B200), Colour::Hex(0x5E4500), 2.0f};
    }
}

ButtonLook SecondaryLook(int state)
{
    switch (state)
    {
    case 0: return {Colour::Hex(0x3C4146), Colour::Hex(0x33373B), Colour::Hex(0x2A2D31), 2.0f};
    case 1: return {Colour::Hex(0x626A72), Colour::Hex(0x464D54), Colour::Hex(0x24282C), 2.0f};
    case 2: return {Colour::Hex(0x77808A), Colour::Hex(0x565E66), palette::Yellow(), 3.0f};
    case 3: return {Colour::Hex(0x3E444A), Colour::Hex(0x4C535A), Colour::Hex(0x1B1E21), 2.0f};
    case 4: return {Colour::Hex(0x4A4A42), Colour::Hex(0x3E3E37), Colour::Hex(0x2A2A25), 2.0f};
    case 5: return {Colour::Hex(0xFFD84A), Colour::Hex(0xE8AE00), Colour::Hex(0x7A5A00), 2.0f};
    case 6: return {Colour::Hex(0xFFE37A), Colour::Hex(0xF5BE10), palette::White(), 3.0f};
    default: return {Colour::Hex(0xD49E00), Colour::Hex(0xE8B200), Colour::Hex(0x5E4500), 2.0f};
    }
}

void PaintListItem(Raster& r, const Cell& c, int state)
{
    float x = static_cast<float>(c.x), y = static_cast<float>(c.y), w = static_cast<float>(c.w), h = static_cast<float>(c.h);
    Colour fill[] = {Colour::Hex(0x24282C), Colour::Hex(0x30363C), Colour::Hex(0x3E464E), Colour::Hex(0x4A535C),
                     Colour::Hex(0x24282C), Colour::Hex(0x4A3A22), Colour::Hex(0x5A4628), Colour::Hex(0x4A3A22)};
    Colour accent[] = {Colour::Hex(0x4A4F55), palette::Orange(), palette::Yellow(), palette::Yellow(),
                       Colour::Hex(0x4A4F55), palette::Yellow(), palette::Yellow(), palette::Yellow()};
    Colour border[] = {Colour::Hex(0x2E3237), Colour::Hex(0x454C53), palette::Yellow(), palette::Orange(),
                       Colour::Hex(0x2E3237), palette::Orange(), palette::Yellow(), palette::Orange()};
    r.FillRoundRect(x, y, w, h, 6, fill[state]);
    r.FillRoundRect(x + 2, y + 2, 5, h - 4, 2, accent[state]);
    r.StrokeRoundRect(x, y, w, h, 6, state == 2 || state >= 5 ? 2.0f : 1.0f, border[state]);
}

void PaintPanel(Raster& r, const Cell& c)
{
    float x = static_cast<float>(c.x), y = static_cast<float>(c.y), w = static_cast<float>(c.w), h = static_cast<float>(c.h);
    r.FillRoundRect(x, y, w, h, 12, [&](float, float py) {
        return Colour::Hex(0x2A3036).Lerp(Colour::Hex(0x1C2024), std::clamp((py - y) / h, 0.0f, 1.0f));
    });
    r.StrokeRoundRect(x, y, w, h, 12, 2.5f, palette::Yellow());
    r.StrokeRoundRect(x + 3, y + 3, w - 6, h - 6, 9, 1.0f, Colour(0, 0, 0, 0.5f));
}

void PaintHudBox(Raster& r, const Cell& c)
{
    float x = static_cast<float>(c.x), y = static_cast<float>(c.y), w = static_cast<float>(c.w), h = static_cast<float>(c.h);
    r.FillRoundRect(x, y, w, h, 9, Colour::Hex(0x121519, 0.78f));
    r.StrokeRoundRect(x, y, w, h, 9, 2.0f, palette::Orange().WithAlpha(0.95f));
}

void PaintHeader(Raster& r, const Cell& c)
{
    float x = static_cast<float>(c.x), y = static_cast<float>(c.y), w = static_cast<float>(c.w), h = static_cast<float>(c.h);
    // Rounded at the top only: the header sits flush on its panel.
    r.FillShape(x, y, x + w, y + h,
                [=](float px, float py) { return std::max(RoundRectDistance(px, py, x, y, w, h + 14, 10), py - (y + h)); },
                [=](float, float py) {
                    return Colour::Hex(0xFF8A2E).Lerp(Colour::Hex(0xD85A0E), std::clamp((py - y) / h, 0.0f, 1.0f));
                });
    r.FillRect(x, y + h - 3, w, 3, Colour::Hex(0x7E3205));
}

void PaintField(Raster& r, const Cell& c)
{
    float x = static_cast<float>(c.x), y = static_cast<float>(c.y), w = static_cast<float>(c.w), h = static_cast<float>(c.h);
    r.FillRoundRect(x, y, w, h, 5, Colour::Hex(0x111417, 0.96f));
    r.FillRoundRect(x + 1, y + 1, w - 2, 3, 1.5f, Colour(0, 0, 0, 0.45f));
    r.StrokeRoundRect(x, y, w, h, 5, 1.2f, Colour::Hex(0x59616A));
}

void PaintProgressFill(Raster& r, const Cell& c)
{
    float x = static_cast<float>(c.x), y = static_cast<float>(c.y), w = static_cast<float>(c.w), h = static_cast<float>(c.h);
    r.FillRoundRect(x, y, w, h, 4, [&](float, float py) {
        return Colour::Hex(0xA6EC3A).Lerp(Colour::Hex(0x3E9E17), std::clamp((py - y) / h, 0.0f, 1.0f));
    });
    r.FillRoundRect(x + 2, y + 2, w - 4, 2, 1, Colour(1, 1, 1, 0.35f));
}

void PaintSliderBar(Raster& r, const Cell& c)
{
    float x = static_cast<float>(c.x), y = static_cast<float>(c.y), w = static_cast<float>(c.w), h = static_cast<float>(c.h);
    r.FillRoundRect(x, y, w, h, h * 0.5f, Colour::Hex(0x0F1113));
    r.StrokeRoundRect(x, y, w, h, h * 0.5f, 1.2f, Colour::Hex(0x626A73));
}

void PaintSliderThumb(Raster& r, const Cell& c, int state)
{
    ButtonLook look = PrimaryLook(state);
    PaintButton(r, c, look, 5);
    float cx = c.x + c.w * 0.5f;
    Colour grip = state == 0 ? Colour::Hex(0x8A9096) : Colour(1, 1, 1, 0.8f);
    for (int i = -1; i <= 1; ++i)
        r.Line(cx + i * 4.0f, c.y + 8.0f, cx + i * 4.0f, c.y + c.h - 8.0f, 1.5f, grip);
}

void PaintScrollTrack(Raster& r, const Cell& c)
{
    r.FillRoundRect(c.x, c.y, c.w, c.h, c.w * 0.5f, Colour::Hex(0x0E1012, 0.9f));
}

void PaintScrollThumb(Raster& r, const Cell& c, int state)
{
    Colour fill[] = {Colour::Hex(0x3A3F44), Colour::Hex(0x7A828A), palette::Orange(), palette::OrangeDark()};
    r.FillRoundRect(c.x + 1, c.y + 1, c.w - 2, c.h - 2, (c.w - 2) * 0.5f, fill[state]);
}

void PaintCheckBox(Raster& r, const Cell& c, int state)
{
    bool checked = state >= 4;
    int base = state % 4;
    float x = static_cast<float>(c.x), y = static_cast<float>(c.y), w = static_cast<float>(c.w), h = static_cast<float>(c.h);
    Colour border[] = {Colour::Hex(0x3D4247), Colour::Hex(0x8A939C), palette::Yellow(), palette::Orange()};
    r.FillRoundRect(x, y, w, h, 5, base == 0 ? Colour::Hex(0x1E2125) : Colour::Hex(0x0F1214));
    r.StrokeRoundRect(x, y, w, h, 5, base == 2 ? 2.5f : 2.0f, border[base]);
    if (checked)
    {
        Colour mark = base == 0 ? Colour::Hex(0x6A6F74) : palette::Yellow();
        r.Polyline({{x + w * 0.24f, y + h * 0.52f}, {x + w * 0.43f, y + h * 0.72f}, {x + w * 0.78f, y + h * 0.28f}}, 3.4f, mark);
    }
}

void PaintArrowButton(Raster& r, const Cell& c, int state, bool left)
{
    PaintButton(r, c, PrimaryLook(state), 7);
    float cx = c.x + c.w * 0.5f, cy = c.y + c.h * 0.5f;
    float s = c.w * 0.2f;
    float shift = state == 3 ? 1.0f : 0.0f;
    std::vector<Point> tri;
    if (left)
        tri = {{cx + s * 0.7f, cy - s + shift}, {cx + s * 0.7f, cy + s + shift}, {cx - s * 0.9f, cy + shift}};
    else
        tri = {{cx - s * 0.7f, cy - s + shift}, {cx - s * 0.7f, cy + s + shift}, {cx + s * 0.9f, cy + shift}};
    r.FillPolygon(tri, state == 0 ? Colour::Hex(0x8E949A) : palette::White());
}

void PaintPointer(Raster& r, const Cell& c)
{
    float x = c.x + 2.0f, y = c.y + 2.0f;
    std::vector<Point> arrow = {{x, y}, {x, y + 22}, {x + 6, y + 17}, {x + 10, y + 26}, {x + 14, y + 24}, {x + 10, y + 15}, {x + 17, y + 15}};
    std::vector<Point> shadow;
    for (const Point& p : arrow)
        shadow.push_back({p.x + 1.5f, p.y + 1.5f});
    r.FillPolygon(shadow, Colour(0, 0, 0, 0.45f));
    r.FillPolygon(arrow, Colour::Hex(0x1A1A1A));
    std::vector<Point> inner = {{x + 2, y + 4.5f}, {x + 2, y + 17.5f}, {x + 6.5f, y + 13.8f}, {x + 10.8f, y + 23.2f}, {x + 12, y + 22.6f},
                                {x + 7.8f, y + 13.3f}, {x + 13, y + 13.3f}};
    r.FillPolygon(inner, palette::Orange());
}

// Keyboard focus: a signal-yellow ring with a dark rim, open in the middle so
// the focused widget keeps its own look (and its hover look) inside it.
void PaintFocusRing(Raster& r, const Cell& c)
{
    float x = static_cast<float>(c.x), y = static_cast<float>(c.y), w = static_cast<float>(c.w), h = static_cast<float>(c.h);
    r.StrokeRoundRect(x + 0.5f, y + 0.5f, w - 1, h - 1, 10, 1.5f, Colour(0, 0, 0, 0.55f));
    r.StrokeRoundRect(x + 2, y + 2, w - 4, h - 4, 9, 3.0f, palette::Yellow());
    r.StrokeRoundRect(x + 4.5f, y + 4.5f, w - 9, h - 9, 7, 1.0f, palette::White().WithAlpha(0.7f));
}

void PaintHazard(Raster& r, const Cell& c)
{
    r.HazardStripes(static_cast<float>(c.x), static_cast<float>(c.y), static_cast<float>(c.w), static_cast<float>(c.h),
                    static_cast<float>(c.h) * 2.0f, palette::Yellow(), palette::Ink());
}

// Templates for the composite widgets: the library looks up their parts by name.
const char* kTemplates = R"XML(
	<Resource type="ResourceLayout" name="KB_ScrollBarV" version="3.2.0">
		<Widget type="Widget" skin="KB_ScrollTrack" position="0 0 14 100" name="Root">
			<Property key="VerticalAlignment" value="true"/>
			<Property key="MoveToClick" value="false"/>
			<Property key="WheelPage" value="40"/>
			<Widget type="Widget" skin="PanelEmpty" position="0 0 14 100" align="Stretch" name="TrackPlace">
				<Property key="NeedKey" value="false"/>
				<Property key="InheritsPick" value="true"/>
				<Widget type="Button" skin="KB_ScrollThumb" position="0 20 14 40" align="Left Top" name="Track">
					<UserString key="MinTrackSize" value="24"/>
				</Widget>
				<Widget type="Widget" skin="PanelEmpty" position="0 0 14 20" name="FirstPart"/>
				<Widget type="Widget" skin="PanelEmpty" position="0 60 14 40" name="SecondPart"/>
			</Widget>
		</Widget>
	</Resource>
	<Resource type="ResourceLayout" name="KB_Slider" version="3.2.0">
		<Widget type="Widget" skin="PanelEmpty" position="0 0 200 28" name="Root">
			<Property key="VerticalAlignment" value="false"/>
			<Property key="MoveToClick" value="true"/>
			<Widget type="Widget" skin="KB_SliderBar" position="0 9 200 10" align="HStretch VCenter">
				<Property key="NeedMouse" value="false"/>
			</Widget>
			<Widget type="Widget" skin="PanelEmpty" position="0 0 200 28" align="Stretch" name="TrackPlace">
				<Property key="NeedKey" value="false"/>
				<Property key="InheritsPick" value="true"/>
				<Widget type="Button" skin="KB_SliderThumb" position="0 0 20 28" align="Left Top" name="Track"/>
				<Widget type="Widget" skin="PanelEmpty" position="0 0 1 28" name="FirstPart"/>
				<Widget type="Widget" skin="PanelEmpty" position="20 0 180 28" name="SecondPart"/>
			</Widget>
		</Widget>
	</Resource>
	<Resource type="ResourceLayout" name="KB_ScrollView" version="3.2.0">
		<Widget type="Widget" skin="KB_Frame" position="0 0 200 200" name="Root">
			<Property key="VisibleHScroll" value="false"/>
			<Property key="CanvasAlign" value="Left Top"/>
			<Widget type="Widget" skin="PanelEmpty" position="4 4 174 192" align="Stretch" name="Client"/>
			<Widget type="ScrollBar" skin="KB_ScrollBarV" position="182 4 14 192" align="Right VStretch" name="VScroll"/>
		</Widget>
	</Resource>
	<Resource type="ResourceLayout" name="KB_EditReadOnly" version="3.2.0">
		<Widget type="Widget" skin="KB_Frame" position="0 0 200 200" name="Root">
			<Property key="MultiLine" value="true"/>
			<Property key="WordWrap" value="true"/>
			<Property key="ReadOnly" value="true"/>
			<Property key="Static" value="true"/>
			<Property key="VisibleVScroll" value="true"/>
			<Property key="VisibleHScroll" value="false"/>
			<Widget type="TextBox" skin="KB_EditClient" position="10 8 164 184" align="Stretch" name="Client">
				<Property key="FontName" value="kb_default"/>
				<Property key="TextAlign" value="Left Top"/>
				<Property key="TextColour" value="0.96 0.96 0.94"/>
			</Widget>
			<Widget type="ScrollBar" skin="KB_ScrollBarV" position="182 4 14 192" align="Right VStretch" name="VScroll"/>
		</Widget>
	</Resource>
	<Resource type="ResourceLayout" name="KB_TextPlain" version="3.2.0">
		<Widget type="Widget" skin="PanelEmpty" position="0 0 200 200" name="Root">
			<Property key="MultiLine" value="true"/>
			<Property key="WordWrap" value="true"/>
			<Property key="ReadOnly" value="true"/>
			<Property key="Static" value="true"/>
			<Property key="VisibleVScroll" value="false"/>
			<Property key="VisibleHScroll" value="false"/>
			<Widget type="TextBox" skin="KB_EditClient" position="0 0 200 200" align="Stretch" name="Client">
				<Property key="FontName" value="kb_default"/>
				<Property key="TextAlign" value="Left Top"/>
				<Property key="TextColour" value="0.96 0.96 0.94"/>
			</Widget>
		</Widget>
	</Resource>
	<Resource type="ResourceLayout" name="KB_ProgressBar" version="3.2.0">
		<Widget type="Widget" skin="KB_Frame" position="0 0 200 24" name="Root">
			<UserString key="TrackSkin" value="KB_ProgressFill"/>
			<UserString key="TrackFill" value="true"/>
			<UserString key="TrackWidth" value="8"/>
			<Widget type="Widget" skin="PanelEmpty" position="3 3 194 18" align="Stretch" name="TrackPlace"/>
		</Widget>
	</Resource>
)XML";

} // namespace

bool BuildSkinSet(const std::string& dir)
{
    Raster atlas(kAtlasWidth, kAtlasHeight);
    Packer packer;
    SkinXml xml;

    // Solid white: tinted by the widget colour for plain coloured areas.
    Cell white = packer.Allocate(8, 8);
    atlas.FillRect(white.x, white.y, white.w, white.h, Colour(1, 1, 1, 1));

    // Buttons.
    auto buttonSkin = [&](const std::string& name, std::function<ButtonLook(int)> look, const std::string& font,
                          const TextStyle& text) {
        std::vector<Cell> cells =
            PaintStates(atlas, packer, 40, 40, 8, [&](Raster& r, const Cell& c, int s) { PaintButton(r, c, look(s), 8); });
        xml.Begin(name, 40, 40);
        xml.Property("FontName", font);
        xml.Property("TextAlign", "Center");
        xml.NineSlice(40, 40, 12, kButtonStates, cells);
        xml.Text(10, 4, 20, 32, text, true);
        xml.End();
    };
    TextStyle primaryText;
    buttonSkin("KB_Button", PrimaryLook, "kb_bold", primaryText);
    TextStyle secondaryText;
    buttonSkin("KB_ButtonGrey", SecondaryLook, "kb_bold", secondaryText);

    // Mission list entries: text starts right of the thumbnail.
    {
        std::vector<Cell> cells = PaintStates(atlas, packer, 40, 40, 8, PaintListItem);
        xml.Begin("KB_ListButton", 120, 40);
        xml.Property("FontName", "kb_bold");
        xml.Property("TextAlign", "Left VCenter");
        xml.NineSlice(120, 40, 12, kButtonStates, cells);
        TextStyle t;
        t.checked = palette::White();
        t.highlighted = palette::Yellow();
        t.disabled = Colour::Hex(0x6C7278);
        xml.Text(92, 2, 20, 36, t, true);
        xml.End();
    }

    // Panels and boxes.
    Cell panel = packer.Allocate(48, 48);
    PaintPanel(atlas, panel);
    xml.Begin("PanelSkin", 48, 48);
    xml.NineSlice(48, 48, 16, {"normal"}, {panel});
    xml.End();
    xml.Begin("PanelEmpty", 16, 16, false);
    xml.End();
    xml.Begin("Default", 16, 16, false);
    xml.End();

    Cell hud = packer.Allocate(40, 40);
    PaintHudBox(atlas, hud);
    xml.Begin("KB_HudBox", 40, 40);
    xml.NineSlice(40, 40, 12, {"normal"}, {hud});
    xml.End();

    Cell header = packer.Allocate(40, 40);
    PaintHeader(atlas, header);
    xml.Begin("KB_Header", 40, 40);
    xml.Property("FontName", "kb_title");
    xml.Property("TextAlign", "Center");
    xml.NineSlice(40, 40, 12, {"normal"}, {header});
    xml.PlainText("SimpleText", 12, 2, 16, 34, palette::White());
    xml.End();

    Cell field = packer.Allocate(32, 32);
    PaintField(atlas, field);
    xml.Begin("KB_Field", 32, 32);
    xml.Property("FontName", "kb_bold");
    xml.Property("TextAlign", "Center");
    xml.NineSlice(32, 32, 8, {"normal"}, {field});
    xml.PlainText("SimpleText", 8, 2, 16, 28, palette::Yellow());
    xml.End();

    // Same inset look without text, for frames around pictures and lists.
    xml.Begin("KB_Frame", 32, 32);
    xml.NineSlice(32, 32, 8, {"normal"}, {field});
    xml.End();

    Cell fill = packer.Allocate(24, 24);
    PaintProgressFill(atlas, fill);
    xml.Begin("KB_ProgressFill", 24, 24);
    xml.NineSlice(24, 24, 6, {"normal"}, {fill});
    xml.End();

    Cell bar = packer.Allocate(40, 10);
    PaintSliderBar(atlas, bar);
    xml.Begin("KB_SliderBar", 40, 10);
    xml.Part(0, 0, 5, 10, "Left VStretch", {"normal"}, {{bar.x, bar.y, 5, 10}});
    xml.Part(5, 0, 30, 10, "Stretch", {"normal"}, {{bar.x + 5, bar.y, 30, 10}});
    xml.Part(35, 0, 5, 10, "Right VStretch", {"normal"}, {{bar.x + 35, bar.y, 5, 10}});
    xml.End();

    {
        std::vector<Cell> cells = PaintStates(atlas, packer, 20, 28, 4, PaintSliderThumb);
        xml.Begin("KB_SliderThumb", 20, 28);
        xml.Whole(20, 28, "Stretch", kPlainStates, cells);
        xml.End();
    }

    Cell track = packer.Allocate(14, 32);
    PaintScrollTrack(atlas, track);
    xml.Begin("KB_ScrollTrack", 14, 32);
    xml.NineSlice(14, 32, 6, {"normal"}, {track});
    xml.End();
    {
        std::vector<Cell> cells = PaintStates(atlas, packer, 14, 32, 4, PaintScrollThumb);
        xml.Begin("KB_ScrollThumb", 14, 32);
        xml.NineSlice(14, 32, 6, kPlainStates, cells);
        xml.End();
    }

    {
        std::vector<Cell> cells = PaintStates(atlas, packer, 28, 28, 8, PaintCheckBox);
        xml.Begin("KB_CheckBox", 300, 28);
        xml.Property("FontName", "kb_default");
        xml.Property("TextAlign", "Left VCenter");
        xml.Part(0, 0, 28, 28, "Left VCenter", kButtonStates, cells);
        TextStyle t;
        t.checked = palette::White();
        t.highlighted = palette::Yellow();
        t.pushShift = 0;
        xml.Text(38, 0, 262, 28, t, true);
        xml.End();
    }

    for (int side = 0; side < 2; ++side)
    {
        bool left = side == 0;
        std::vector<Cell> cells = PaintStates(atlas, packer, 36, 36, 4,
                                              [left](Raster& r, const Cell& c, int s) { PaintArrowButton(r, c, s, left); });
        xml.Begin(left ? "KB_ArrowLeft" : "KB_ArrowRight", 36, 36);
        xml.Whole(36, 36, "Stretch", kPlainStates, cells);
        xml.End();
    }

    Cell hazard = packer.Allocate(32, 16);
    PaintHazard(atlas, hazard);
    xml.Begin("KB_Hazard", 32, 16);
    xml.Raw("\t\t<BasisSkin type=\"TileRect\" offset=\"0 0 32 16\" align=\"Stretch\">\n"
            "\t\t\t<State name=\"normal\" offset=\"" +
            Coord(hazard.x, hazard.y, 32, 16) +
            "\">\n\t\t\t\t<Property key=\"TileSize\" value=\"32 16\"/>\n"
            "\t\t\t\t<Property key=\"TileH\" value=\"true\"/>\n\t\t\t\t<Property key=\"TileV\" value=\"true\"/>\n"
            "\t\t\t</State>\n\t\t</BasisSkin>\n");
    xml.End();

    Cell focus = packer.Allocate(32, 32);
    PaintFocusRing(atlas, focus);
    xml.Begin("KB_Focus", 32, 32);
    xml.NineSlice(32, 32, 10, {"normal"}, {focus}, true);
    xml.End();

    Cell pointer = packer.Allocate(32, 32);
    PaintPointer(atlas, pointer);

    // Plain skins without texture parts.
    xml.Begin("KB_Solid", 8, 8);
    xml.Whole(8, 8, "Stretch", {"normal"}, {{white.x + 2, white.y + 2, 4, 4}});
    xml.End();
    xml.Begin("TextBox", 16, 16, false);
    xml.Property("FontName", "kb_default");
    xml.Property("TextAlign", "Left VCenter");
    xml.PlainText("SimpleText", 0, 0, 16, 16, palette::White());
    xml.End();
    xml.Begin("KB_EditClient", 16, 16, false);
    xml.Raw("\t\t<BasisSkin type=\"EditText\" offset=\"0 0 16 16\" align=\"Stretch\">\n"
            "\t\t\t<State name=\"normal\" colour=\"0.96 0.96 0.94\"/>\n"
            "\t\t\t<State name=\"disabled\" colour=\"0.6 0.6 0.6\"/>\n"
            "\t\t</BasisSkin>\n");
    xml.End();
    xml.Begin("ImageBox", 16, 16, false);
    xml.Raw("\t\t<BasisSkin type=\"MainSkin\" offset=\"0 0 16 16\"/>\n");
    xml.End();
    xml.Begin("Canvas", 16, 16, false);
    xml.Raw("\t\t<BasisSkin type=\"MainSkin\" offset=\"0 0 16 16\"/>\n");
    xml.End();

    xml.Raw(kTemplates);

    // Mouse pointer.
    std::ostringstream ptr;
    ptr << "\t<Resource type=\"ResourceImageSet\" name=\"KB_PointerImage\">\n"
        << "\t\t<Group name=\"Pointer\" texture=\"" << kTexture << "\" size=\"32 32\">\n"
        << "\t\t\t<Index name=\"Pointer\">\n\t\t\t\t<Frame point=\"" << pointer.x << ' ' << pointer.y << "\"/>\n"
        << "\t\t\t</Index>\n\t\t</Group>\n\t</Resource>\n"
        << "\t<Resource type=\"ResourceImageSetPointer\" name=\"arrow\">\n"
        << "\t\t<Property key=\"Point\" value=\"2 2\"/>\n\t\t<Property key=\"Size\" value=\"32 32\"/>\n"
        << "\t\t<Property key=\"Resource\" value=\"KB_PointerImage\"/>\n\t</Resource>\n";
    xml.Raw(ptr.str());

    bool ok = WritePng(dir + "/kb_skin.png", atlas);
    ok = WriteFile(dir + "/kb_skins.xml", xml.Text()) && ok;
    return ok;
}

} // namespace assetbuilder
