#pragma once

// Something outside the program (the clock, the disk, the screen) reached through one
// object: the real one, unless a test has put another in its place.
template <typename Interface, typename Real = Interface> class Seam
{
public:
    static Interface &get()
    {
        static Real real;
        Interface *other = replacement();
        return other ? *other : real;
    }
    // Null puts the real one back.
    static void set(Interface *other) { replacement() = other; }

private:
    static Interface *&replacement()
    {
        static Interface *other = nullptr;
        return other;
    }
};
