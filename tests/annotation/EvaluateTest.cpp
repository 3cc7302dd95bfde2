// The expression evaluator that attribute conditions are handed to.
#include <ostrel/Evaluate.h>

#include <gtest/gtest.h>

TEST(Evaluate, ResultsAndPrecedence) {
    struct Case {
        const char* text;
        const char* result;
    } cases[] = {
        {"1", "1"},
        {"12==12", "1"},
        {"12 == 12.0", "1"},
        {"1||0", "1"},
        {"0||0", "0"},
        {"150>100 && 150<=200", "1"},
        {"250>100 && 250<=200", "0"},
        {"3>0 && 3<10&&(3==2||3==5)", "0"},
        {"1||1&&0", "1"},  // && binds tighter
        {"(1||1)&&0", "0"},
        {"1+2*3", "7"},
        {"(1+2)*3", "9"},
        {"7/2", "3.5"},
        {"2-3-4", "-5"},
        {"-2.5", "-2.5"},
        {"--1", "1"},
        {"!0", "1"},
        {"!5", "0"},
        {"5!=4", "1"},
        {"1e+20>1e19", "1"},
        {".5+.25", "0.75"},
        {"0.1+0.2", "0.30000000000000004"},
        {"2021-03-04==2021-03-04", "1"},
        {"1<2<3", "1"},
    };
    for (const Case& c : cases) EXPECT_EQ(Evaluate(c.text), c.result) << c.text;
}

TEST(Evaluate, WhatDoesNotEvaluateNeverHolds) {
    const char* bad[] = {"", "   ", "Road==road", "1=1", "1&0", "1|0", "(1", "1)", "1 2", "1/0",
                         "==1", "1==", "\"a\"==\"a\"", "1e400", "%H%>1", "5!"};
    for (const char* t : bad) EXPECT_EQ(Evaluate(t), "") << t;
    EXPECT_EQ(Evaluate(nullptr), "");
    EXPECT_EQ(Evaluate(std::string(100000, '(').c_str()), "") << "deep nesting is refused, not a crash";
}
