#pragma once
// Where a conversion departs from the classic one.
namespace zentro {

// How a picture that is not square fills the square of an icon image: scaled
// whole and centred with clear margins, or stretched to fill it.
enum class Fit { Pad, Stretch };

// The defaults are the classic conversion's, which the wizard keeps for a classic
// bitmap and --classic asks for; Today() is what suits the pictures people have now.
struct ConversionRules {
    // With transparency chosen, which pictures without alpha of their own are keyed:
    // every one, or only those that look drawn on a plain ground (their corners share
    // the key colour), which vector and lossy pictures never are.
    enum class Keyed { Every, Framed } keyed = Keyed::Every;
    // Only the key-coloured pixels joined to the picture's border (through
    // 4-neighbours of that colour) are keyed, not enclosed areas of the same colour.
    bool keyFromBorder = false;
    // A key that would leave no opaque pixel (a one-colour picture) is not used.
    bool keepSomethingOpaque = false;
    // A 32-bit image needs no transparency: without a key or alpha it is opaque.
    bool opaque32 = false;
    // 32-bit means are rounded to the nearest byte instead of truncated.
    bool roundMeans = false;
    Fit fit = Fit::Stretch;

    static ConversionRules Today() { return {Keyed::Framed, true, true, true, true, Fit::Pad}; }
    bool operator==(const ConversionRules&) const = default;
};

}  // namespace zentro
