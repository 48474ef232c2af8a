#include "engine/node_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

struct Payload {
    int value;
    unsigned char bytes[13];
};

// A heap that counts what is still allocated and can be told to run out.
struct TestMemory {
    static int live;
    static int allocationsLeft;  // negative: unlimited

    static void* Allocate(std::size_t size)
    {
        if (allocationsLeft == 0)
            return nullptr;
        if (allocationsLeft > 0)
            --allocationsLeft;
        void* block = std::malloc(size);
        // Garbage in fresh nodes shows whether PushBack really zeroes them.
        std::memset(block, 0xA5, size);
        ++live;
        return block;
    }
    static void Release(void* block)
    {
        if (block)
            --live;
        std::free(block);
    }
};
int TestMemory::live = 0;
int TestMemory::allocationsLeft = -1;

typedef NodeList<Payload, TestMemory> List;
typedef List::Node Node;

class NodeListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestMemory::live = 0;
        TestMemory::allocationsLeft = -1;
    }
    void TearDown() override { EXPECT_EQ(TestMemory::live, 0) << "nodes leaked"; }

    static Node* Push(List& list, int value)
    {
        Payload p = {};
        p.value = value;
        return list.PushBack(&p);
    }

    // Walks both ways and checks that the links agree with the values expected.
    static void ExpectValues(const List& list, std::initializer_list<int> values)
    {
        const Node* node = list.first;
        const Node* prev = nullptr;
        for (int v : values) {
            ASSERT_NE(node, nullptr);
            EXPECT_EQ(node->payload.value, v);
            EXPECT_EQ(node->prev, prev);
            prev = node;
            node = node->next;
        }
        EXPECT_EQ(node, nullptr);
        EXPECT_EQ(list.last, prev);
    }
};

TEST_F(NodeListTest, PushBackZeroesOrCopiesThePayloadAndLinksAtTheTail)
{
    List list;
    Node* a = list.PushBack(nullptr);
    EXPECT_EQ(a->payload.value, 0);
    for (unsigned char b : a->payload.bytes)
        EXPECT_EQ(b, 0);

    Payload source;
    std::memset(&source, 0x3C, sizeof(source));
    source.value = 77;
    Node* b = list.PushBack(&source);
    EXPECT_EQ(std::memcmp(&b->payload, &source, sizeof(source)), 0);
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(b->prev, a);
    EXPECT_EQ(b->next, nullptr);
    EXPECT_EQ(list.first, a);
    EXPECT_EQ(list.last, b);
}

TEST_F(NodeListTest, PopBackOnEmptyOneAndLongerLists)
{
    List list;
    EXPECT_EQ(list.PopBack(), nullptr);
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.last, nullptr);

    Push(list, 1);
    EXPECT_EQ(list.PopBack(), nullptr);
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.last, nullptr);
    EXPECT_EQ(TestMemory::live, 0);

    Push(list, 1);
    Node* second = Push(list, 2);
    Push(list, 3);
    Node* newLast = list.PopBack();
    EXPECT_EQ(newLast, second);
    EXPECT_EQ(second->next, nullptr);
    ExpectValues(list, {1, 2});
    EXPECT_EQ(TestMemory::live, 2);
}

TEST_F(NodeListTest, WalkingWithNextAndPrev)
{
    List list;
    EXPECT_EQ(list.Next(nullptr), nullptr);
    EXPECT_EQ(list.Prev(nullptr), nullptr);

    Node* a = Push(list, 1);
    Node* b = Push(list, 2);
    EXPECT_EQ(list.Next(nullptr), a);
    EXPECT_EQ(list.Prev(nullptr), nullptr);
    EXPECT_EQ(list.Next(a), b);
    EXPECT_EQ(list.Prev(b), a);
    EXPECT_EQ(list.Prev(a), nullptr);
    EXPECT_EQ(list.Next(b), nullptr);
}

TEST_F(NodeListTest, TruncateAfter)
{
    List list;
    EXPECT_EQ(list.TruncateAfter(nullptr), nullptr);

    Push(list, 1);
    Node* two = Push(list, 2);
    Push(list, 3);
    Node* four = Push(list, 4);

    EXPECT_EQ(list.TruncateAfter(four), four);
    EXPECT_EQ(TestMemory::live, 4);
    EXPECT_EQ(list.TruncateAfter(nullptr), four);
    EXPECT_EQ(TestMemory::live, 4);

    EXPECT_EQ(list.TruncateAfter(two), two);
    EXPECT_EQ(list.Next(two), nullptr);
    EXPECT_EQ(TestMemory::live, 2);
    ExpectValues(list, {1, 2});

    // The history appends right after the cut.
    Node* five = Push(list, 5);
    EXPECT_EQ(two->next, five);
    EXPECT_EQ(five->prev, two);
    ExpectValues(list, {1, 2, 5});

    Node* first = list.first;
    EXPECT_EQ(list.TruncateAfter(first), first);
    ExpectValues(list, {1});
}

TEST_F(NodeListTest, ClearEmptiesAndTheListCanBeReused)
{
    List list;
    list.Clear();
    EXPECT_EQ(list.first, nullptr);

    for (int i = 0; i < 5; ++i)
        Push(list, i);
    list.Clear();
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.last, nullptr);
    EXPECT_EQ(TestMemory::live, 0);

    Push(list, 9);
    ExpectValues(list, {9});
}

TEST_F(NodeListTest, DestructionFreesEveryNode)
{
    {
        List list;
        for (int i = 0; i < 3; ++i)
            Push(list, i);
        EXPECT_EQ(TestMemory::live, 3);
    }
    EXPECT_EQ(TestMemory::live, 0);
}

TEST_F(NodeListTest, RunningOutOfMemoryLeavesTheListUnchanged)
{
    List list;
    TestMemory::allocationsLeft = 0;
    EXPECT_THROW(list.PushBack(nullptr), std::bad_alloc);
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.last, nullptr);

    TestMemory::allocationsLeft = 2;
    Push(list, 1);
    Push(list, 2);
    Node* lastBefore = list.last;
    Payload p = {};
    EXPECT_THROW(list.PushBack(&p), std::bad_alloc);
    EXPECT_EQ(list.last, lastBefore);
    EXPECT_EQ(lastBefore->next, nullptr);
    ExpectValues(list, {1, 2});

    TestMemory::allocationsLeft = -1;
    Push(list, 3);
    ExpectValues(list, {1, 2, 3});
}

}  // namespace
