#include "tools/shellhost/MenuTree.h"

std::vector<MenuNode> ReadMenu(HMENU menu) {
    std::vector<MenuNode> nodes;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[1024] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 1023;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        MenuNode node;
        node.label = text;
        node.id = info.wID;
        node.state = info.fState;
        node.separator = (info.fType & MFT_SEPARATOR) != 0;
        if (info.hSubMenu != nullptr) {
            node.hasSubmenu = true;
            node.children = ReadMenu(info.hSubMenu);
        }
        nodes.push_back(node);
    }
    return nodes;
}

std::wstring DescribeMenu(const std::vector<MenuNode>& nodes, int depth) {
    std::wstring out;
    for (const MenuNode& node : nodes) {
        out.append(static_cast<size_t>(depth) * 2, L' ');
        if (node.separator) {
            out += L"----\n";
            continue;
        }
        out += L'"';
        for (wchar_t c : node.label) {
            if (c == L'\t') {
                out += L"\\t";
            } else {
                out += c;
            }
        }
        out += L"\"  id " + std::to_wstring(node.id);
        if (node.state & MFS_GRAYED) out += L"  greyed";
        if (node.hasSubmenu) out += L"  submenu";
        out += L'\n';
        out += DescribeMenu(node.children, depth + 1);
    }
    return out;
}

namespace {

bool LabelMatches(const std::wstring& label, const std::wstring& wanted) {
    if (label == wanted) return true;
    size_t tab = label.find(L'\t');
    return tab != std::wstring::npos && label.compare(0, tab, wanted) == 0 && tab == wanted.size();
}

}  // namespace

const MenuNode* FindMenuItem(const std::vector<MenuNode>& nodes, const std::wstring& labelPath) {
    size_t slash = labelPath.find(L'/');
    std::wstring head = labelPath.substr(0, slash);
    for (const MenuNode& node : nodes) {
        if (node.separator || !LabelMatches(node.label, head)) continue;
        if (slash == std::wstring::npos) return &node;
        return FindMenuItem(node.children, labelPath.substr(slash + 1));
    }
    return nullptr;
}
