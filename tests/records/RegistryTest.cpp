#include "records/RecordIds.h"
#include "records/Registry.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace tarvok;

// Random adds and deletes keep a model's IDs in order, under unique numbers (0, 1, 2, ...).
TEST(Registry, AddsAndDeletesKeepNumbersUniqueAndEntriesInOrder) {
    std::mt19937 random(7);
    for (const std::vector<int>& start : {std::vector{0, 1, 2, 3}, {1, 2, 3, 4}, {1000, 1001, 1004, 1009}})
        for (int round = 0; round < 60; ++round) {
            std::vector<QByteArray> model; // the IDs not deleted, in the order they were added
            QByteArray content = "[TeamTypes]\r\n";
            for (int n : start)
                content += QByteArray::number(n) + "=" + model.emplace_back("ID" + QByteArray::number(n)) + "\r\n";
            for (int step = 0; step < 24; ++step) {
                const int count = int(model.size()), gone = !count || random() % 2 ? -1 : int(random() % count);
                RegistryAddition a;
                RegistryDeletion d;
                content = rewriteLines(content, gone < 0 ? AddRegistryEntry("TeamTypes", model.emplace_back("N" + QByteArray::number(step)), count, {}, &a)
                                                         : DeleteRegistryEntry("TeamTypes", model[gone], count, &d));
                if (gone >= 0)
                    model.erase(model.begin() + gone);
                std::vector<QByteArray> ids;
                std::set<long long> numbers;
                const std::vector<QByteArrayView> ls = splitLines(content);
                for (size_t i = 1; i < ls.size() && ls[i].contains('='); ++i) {
                    ids.push_back(lines::after(ls[i], '=').toByteArray());
                    numbers.insert(lines::leadingNumber(ls[i]));
                }
                ASSERT_EQ(ids, model) << content.toStdString();
                ASSERT_EQ(numbers.size(), ids.size()) << content.toStdString();
                ASSERT_TRUE(start[0] || ids.empty() || *numbers.rbegin() == long(ids.size()) - 1);
            }
        }
}

TEST(RecordIdInUse, SectionNamesAndRegistryEntriesAreTaken) {
    const QByteArray content = "[General]\n \t[Sec1]\t\nX=[Value]\n[TeamTypes]\n0= TM1\t\n[TaskForces]\n0=TF1\n"
                               "\n1=Late\n[ScriptTypes]\n0=SC1\n[Other]\n0=Other1\n";
    for (const char* id : {"General", "Sec1", "TM1", "TF1", "SC1"})
        EXPECT_TRUE(recordIdInUse(content, id)) << id;
    for (const char* id : {"Value", "Late", "Other1", "TM", "general", "0"})
        EXPECT_FALSE(recordIdInUse(content, id)) << id;
}
