#pragma once
// What a question is about (占类) and the asker's sex, and which line stands
// for the matter asked (用神) in each kind of question: the world line for the
// asker's own person and journeys, otherwise the relative that the matter
// belongs to, as 增删卜易's chapter on the use god assigns them.

#include "chart/relatives.h"

#include <array>
#include <optional>
#include <string_view>

namespace lotgrid {

enum class Sex : std::uint8_t { Male, Female }; // 男 女

inline constexpr std::array<std::u16string_view, 2> SexNames{u"男", u"女"};

constexpr std::u16string_view sexName(Sex s)
{
    return SexNames[static_cast<int>(s)];
}

constexpr std::optional<Sex> sexFromText(std::u16string_view text)
{
    for (std::size_t i = 0; i < SexNames.size(); ++i)
        if (SexNames[i] == text)
            return static_cast<Sex>(i);
    return std::nullopt;
}

enum class Category : std::uint8_t {
    Self,     // 自身
    Travel,   // 出行
    Illness,  // 疾病
    Wealth,   // 求财
    Lost,     // 失物
    Work,     // 工作
    Fame,     // 功名
    Lawsuit,  // 官司
    Exam,     // 考试
    Document, // 文书
    Home,     // 家宅
    Parents,  // 父母
    Children, // 子女
    Siblings, // 兄弟朋友
    Marriage, // 婚恋
};

// Whose line is the use god: the world line, one relative, or a relative that
// depends on the asker's sex (婚恋: the wife's 妻财 for a man, the husband's 官鬼 for a woman).
enum class UseGodBy : std::uint8_t { World, Relative, Sex };

struct CategoryRow {
    Category category;
    std::u16string_view name;
    UseGodBy by;
    Relative relative{}; // with UseGodBy::Relative; for a man with UseGodBy::Sex
    Relative forWoman{}; // with UseGodBy::Sex
};

// clang-format off
inline constexpr std::array<CategoryRow, 15> Categories{{
    {Category::Self,     u"自身",     UseGodBy::World},
    {Category::Travel,   u"出行",     UseGodBy::World},
    {Category::Illness,  u"疾病",     UseGodBy::World},
    {Category::Wealth,   u"求财",     UseGodBy::Relative, Relative::Wealth},
    {Category::Lost,     u"失物",     UseGodBy::Relative, Relative::Wealth},
    {Category::Work,     u"工作",     UseGodBy::Relative, Relative::Officials},
    {Category::Fame,     u"功名",     UseGodBy::Relative, Relative::Officials},
    {Category::Lawsuit,  u"官司",     UseGodBy::Relative, Relative::Officials},
    {Category::Exam,     u"考试",     UseGodBy::Relative, Relative::Parents},
    {Category::Document, u"文书",     UseGodBy::Relative, Relative::Parents},
    {Category::Home,     u"家宅",     UseGodBy::Relative, Relative::Parents},
    {Category::Parents,  u"父母",     UseGodBy::Relative, Relative::Parents},
    {Category::Children, u"子女",     UseGodBy::Relative, Relative::Offspring},
    {Category::Siblings, u"兄弟朋友", UseGodBy::Relative, Relative::Siblings},
    {Category::Marriage, u"婚恋",     UseGodBy::Sex,      Relative::Wealth, Relative::Officials},
}};
// clang-format on

static_assert([] {
    for (std::size_t i = 0; i < Categories.size(); ++i)
        if (Categories[i].category != static_cast<Category>(i))
            return false;
    return true;
}());

constexpr const CategoryRow &categoryRow(Category c)
{
    return Categories[static_cast<int>(c)];
}

constexpr std::u16string_view categoryName(Category c)
{
    return categoryRow(c).name;
}

constexpr std::optional<Category> categoryFromText(std::u16string_view text)
{
    for (const CategoryRow &row : Categories)
        if (row.name == text)
            return row.category;
    return std::nullopt;
}

// The line a category asks for: the world line, or the lines of one relative.
struct UseGodTarget {
    bool world = false;
    Relative relative{}; // when not `world`
    friend constexpr bool operator==(const UseGodTarget &, const UseGodTarget &) = default;
};

// None when the category depends on the sex and none is given.
constexpr std::optional<UseGodTarget> useGodTarget(Category c, std::optional<Sex> sex)
{
    const CategoryRow &row = categoryRow(c);
    switch (row.by) {
    case UseGodBy::World:
        return UseGodTarget{true, {}};
    case UseGodBy::Relative:
        return UseGodTarget{false, row.relative};
    case UseGodBy::Sex:
        if (!sex)
            return std::nullopt;
        return UseGodTarget{false, *sex == Sex::Male ? row.relative : row.forWoman};
    }
    return std::nullopt;
}

} // namespace lotgrid
