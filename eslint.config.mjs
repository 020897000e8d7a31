// ESLint for the project's JavaScript, every file an ES module with the
// globals of where it runs: the node command, the build and the release
// and test scripts in node; the shared host in node and in the page's
// worker alike; the page's modules in a browser window, its worker and the
// site's service worker. Run as `npx --no-install eslint .`.

import js from '@eslint/js';
import globals from 'globals';

// Where each file runs that is not a node script.
const HOST = 'host/datum_host.mjs';
const WINDOW = ['host/page/page.js', 'host/page/offline.js'];
const WORKER = 'host/page/worker.js';
const SERVICE_WORKER = 'host/page/service-worker.js';

export default [
    { ignores: ['build/', 'dist/'] },
    js.configs.recommended,
    {
        files: ['**/*.js', '**/*.mjs'],
        languageOptions: { sourceType: 'module', globals: {} },
    },
    { files: ['**/*.mjs'], ignores: [HOST], languageOptions: { globals: globals.node } },
    // What node and a browser's worker both have.
    { files: [HOST], languageOptions: { globals: globals['shared-node-browser'] } },
    { files: WINDOW, languageOptions: { globals: globals.browser } },
    { files: [WORKER], languageOptions: { globals: globals.worker } },
    { files: [SERVICE_WORKER], languageOptions: { globals: globals.serviceworker } },
    {
        files: ['**/*.js', '**/*.mjs'],
        linterOptions: {
            reportUnusedDisableDirectives: 'error',
        },
        rules: {
            // As the C++: no unused names, no shadowing, nothing loose.
            'no-unused-vars': ['error', { args: 'all', caughtErrors: 'all' }],
            'no-shadow': 'error',
            'no-use-before-define': ['error', { functions: false }],
            'no-implicit-coercion': 'error',
            'no-param-reassign': 'error',
            'no-var': 'error',
            // A name bound once, but after the functions that use it.
            'prefer-const': ['error', { ignoreReadBeforeAssign: true }],
            eqeqeq: 'error',
            curly: ['error', 'all'],
            'object-shorthand': 'error',
            'prefer-template': 'error',
            'prefer-arrow-callback': 'error',
            'no-eval': 'error',
            'no-new-func': 'error',
            // The layout clang-format gives the C++. ESLint's own layout rules are
            // deprecated in favour of a plugin, but there up to ESLint 10.
            indent: ['error', 4, { SwitchCase: 1 }],
            quotes: ['error', 'single', { avoidEscape: true }],
            semi: ['error', 'always'],
            'comma-dangle': ['error', 'always-multiline'],
            'max-len': ['error', { code: 110, ignoreStrings: true, ignoreTemplateLiterals: true }],
            'brace-style': ['error', '1tbs'],
            'eol-last': 'error',
            'no-trailing-spaces': 'error',
        },
    },
];
