/* The small list of the mutation tool's test: its checker (clampCheck.sh) tries one value above
 * the limit only, so a mutant of the first return is killed and one of the last survives. */
int clamp(int value, int limit) {
    if (value > limit) {
        return limit;
    }
    return value;
}
