# Reads the headers' // comments as documentation: a comment line of its own documents what
# follows it, a comment after a declaration documents that declaration. A heading of a group of
# members ("// --- The label ---") stays a plain comment. A comment that ends a line of code
# inside an inline function is left alone by Doxygen, which skips function bodies.
/^[[:space:]]*\/\/[[:space:]]*---/b
s|^\([[:space:]]*\)//[[:space:]]\?|\1/// |
s|\([;,{][[:space:]]*\)//[[:space:]]|\1///< |
