// What check.sh reads from the tree: each icon of the web site
// (host/page/about.mjs), a line with its file and a line with what `file`
// says of it.
import { icons } from '../../host/page/about.mjs';

for (const { file, size } of icons) {
    console.log(file);
    console.log(size ? `PNG image data, ${size} x ${size}` : 'SVG Scalable Vector Graphics image');
}
