#include "document/CardList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts destructions so that ownership can be checked.
struct CountedCard : Card {
    explicit CountedCard(int* deaths) : m_deaths(deaths) {}
    ~CountedCard() override { ++*m_deaths; }
    int* m_deaths;
};

std::vector<Card*> order(const CardList& list)
{
    std::vector<Card*> out;
    for (const auto& c : list)
        out.push_back(c.get());
    return out;
}

} // namespace

TEST(CardListTest, OrderMovesAndOwnership)
{
    int deaths = 0;
    {
        CardList list;
        Card* a = list.AddHead(std::make_unique<CountedCard>(&deaths));
        Card* b = list.AddHead(std::make_unique<CountedCard>(&deaths));
        Card* c = list.AddTail(std::make_unique<CountedCard>(&deaths));
        EXPECT_EQ(order(list), (std::vector<Card*>{b, a, c}));
        list.MoveToHead(c);
        EXPECT_EQ(order(list), (std::vector<Card*>{c, b, a}));
        list.MoveToTail(c);
        // Items not in the list change nothing.
        Card outsider;
        list.MoveToHead(&outsider);
        list.MoveToTail(nullptr);
        EXPECT_EQ(list.AddHead(nullptr), nullptr);
        EXPECT_FALSE(list.RemoveAndDelete(&outsider));
        EXPECT_EQ(order(list), (std::vector<Card*>{b, a, c}));
        EXPECT_EQ(deaths, 0);

        EXPECT_TRUE(list.RemoveAndDelete(a));
        EXPECT_EQ(deaths, 1);
        list.RemoveAll();
        EXPECT_EQ(deaths, 3);
        EXPECT_TRUE(list.IsEmpty());
        list.AddTail(std::make_unique<CountedCard>(&deaths));
    }
    EXPECT_EQ(deaths, 4); // the list destroys what it still holds
}
