// ESLint for the project's JavaScript: the shared host, the node command
// and the release and test scripts run in node, the page's scripts in a
// browser window and its workers. Run as `npx --no-install eslint .`.

import js from '@eslint/js';
import globals from 'globals';

export default [
    { ignores: ['build/', 'dist/'] },
    js.configs.recommended,
    {
        files: ['**/*.mjs'],
        languageOptions: {
            sourceType: 'module',
            globals: globals.node,
        },
    },
    {
        // Classic scripts, joined into the page when it is built; each of
        // them may end up in the window, a worker or the service worker.
        files: ['host/page/**/*.js'],
        languageOptions: {
            sourceType: 'script',
            globals: { ...globals.browser, ...globals.worker, ...globals.serviceworker },
        },
    },
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
